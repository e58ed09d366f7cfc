/* The plug-in's version, in one place: the version resource, the version reply
   and the release package's name all come from here. 1.9.1.0 reads "1.91". */
#pragma once

#define LULLEX_VERSION_MAJOR 1
#define LULLEX_VERSION_MINOR 9
#define LULLEX_VERSION_PATCH 1
#define LULLEX_VERSION_BUILD 0
#define LULLEX_VERSION_DATE "11/28/06"

#define LULLEX_STRINGIFY_(x) #x
#define LULLEX_STRINGIFY(x) LULLEX_STRINGIFY_(x)
#define LULLEX_VERSION_NUMBER            \
  LULLEX_STRINGIFY(LULLEX_VERSION_MAJOR) \
  "." LULLEX_STRINGIFY(LULLEX_VERSION_MINOR) LULLEX_STRINGIFY(LULLEX_VERSION_PATCH)
#define LULLEX_VERSION_TEXT "Lullex v" LULLEX_VERSION_NUMBER
