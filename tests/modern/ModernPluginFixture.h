// The built plug-in loaded as FileMaker 7 and later load it, beside the
// stand-in's FMWrapper.dll, and called as FileMaker calls it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "FileVersion.h"
#include "StandInCall.h"
#include "portable/modern/FMWrapperApi.h"
#include "portable/modern/ModernCallBlock.h"
#include "portable/modern/ModernParameter.h"

typedef void (*EntryPoint)(FMModernCallBlock*);

#ifdef _WIN64
const char PLUGIN_FILE[] = "Lullex.fmx64";
const int16_t HOST_API = 67;  // FileMaker 19.5 and later
#else
const char PLUGIN_FILE[] = "Lullex.fmx";
const int16_t HOST_API = 60;  // FileMaker 18, the last 32-bit one
#endif

class ModernPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(PLUGIN_FILE);
    ASSERT_NE(module_, nullptr);
    entry_ = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, "FMExternCallProc")));
    ASSERT_NE(entry_, nullptr);
  }
  void TearDown() override {
    if (module_) {
      Call(CALL_SHUTDOWN);
      FreeLibrary(module_);
    }
  }

  FMModernCallBlock Call(uint8_t kind, uint8_t parm1 = 0, int16_t api = HOST_API) {
    FMModernCallBlock block = {};
    block.apiVersion = api;
    block.unusedId = -1;
    block.callKind = kind;
    block.parm1 = parm1;
    block.instance = reinterpret_cast<uintptr_t>(module_);
    entry_(&block);
    return block;
  }
  intptr_t Init(int16_t api = HOST_API, uint8_t applicationKind = 1) {
    return static_cast<intptr_t>(Call(CALL_INIT, applicationKind, api).result);
  }
  // The string with id as the plug-in writes it into room units, and whether it
  // wrote past them.
  std::wstring String(uint8_t id, size_t room, bool& overran) {
    std::wstring buffer(room + 8, L'#');
    FMModernCallBlock block = {};
    block.callKind = CALL_GET_STRING;
    block.parm1 = id;
    block.parm3 = room;
    block.result = reinterpret_cast<uintptr_t>(&buffer[0]);
    entry_(&block);
    overran = buffer.find_first_not_of(L'#', room) != std::wstring::npos;
    return buffer.substr(0, std::min(buffer.find(L'\0'), room));
  }
  // Calls the registered function named name, with argument when given; its
  // reply, or "(no reply)".
  std::wstring CallFunction(const std::wstring& name, const std::wstring* argument) {
    RegisteredFunction f = {};
    bool found = false;
    for (int i = 0; !found && StandIn_Registered(i, &f); ++i) found = name == f.name;
    if (!found) return L"(not registered)";
    StandInReply reply =
        CallRegistered(f, argument ? std::vector<std::wstring>{*argument} : std::vector<std::wstring>{});
    EXPECT_EQ(reply.status, 0) << "never \"?\" in FileMaker";
    return reply.given ? reply.text : L"(no reply)";
  }
  std::wstring CallFunction(const std::wstring& name, const std::wstring& argument) {
    return CallFunction(name, &argument);
  }

  HMODULE module_ = nullptr;
  EntryPoint entry_ = nullptr;
};
