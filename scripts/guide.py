#!/usr/bin/python3
# Renders the solution developers' part of README.md (everything before
# "## Building and testing") as one self-contained HTML page: the images go in
# as data URIs. Uses Debian's python3-markdown.
#   scripts/guide.py README.md OUT.html VERSION
import base64
import os
import re
import sys

import markdown

readme, out, version = sys.argv[1:4]
folder = os.path.dirname(os.path.abspath(readme))
with open(readme, encoding="utf-8") as f:
    text = f.read()
text = text.split("\n## Building and testing", 1)[0]
# The first lines are for people who build the plug-in, not for its users.
text = re.sub(r"\A# Lullex\n\n(    .*\n)+\n", "# Lullex\n\n", text)
body = markdown.markdown(text, extensions=["tables", "fenced_code"], output_format="html5")


def embed(match):
    path = os.path.join(folder, match.group(1))
    with open(path, "rb") as image:
        data = base64.b64encode(image.read()).decode("ascii")
    kind = "image/svg+xml" if path.endswith(".svg") else "image/png"
    return 'src="data:%s;base64,%s"' % (kind, data)


body = re.sub(r'src="([^":]+)"', embed, body)
style = (
    "body{font-family:Tahoma,Verdana,sans-serif;max-width:60em;margin:2em auto;padding:0 1em;line-height:1.45}"
    "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.3em .5em;vertical-align:top}"
    "pre{background:#f4f4f4;padding:.6em;overflow-x:auto}img{max-width:100%}"
)
with open(out, "w", encoding="utf-8") as f:
    f.write('<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n')
    f.write("<title>Lullex %s: guide for FileMaker solution developers</title>\n" % version)
    f.write("<style>%s</style>\n</head>\n<body>\n%s\n</body>\n</html>\n" % (style, body))
