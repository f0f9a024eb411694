#!/usr/bin/env python3
"""make_project.py CORPUS_DIR PROJECT.qsp MODE

Writes a project that installs every file of CORPUS_DIR below the application folder, keeping
its folders. Source paths are relative to the project file, as a project kept in version control
has them. MODE is "single" (one self-extracting setup) or "side" (files side by side)."""
import os
import sys


def main():
    corpus, project, mode = sys.argv[1], sys.argv[2], sys.argv[3]
    base = os.path.dirname(os.path.abspath(project))
    lines = []
    for folder, dirs, files in os.walk(corpus):
        dirs.sort()
        rel_folder = os.path.relpath(folder, corpus)
        if rel_folder != ".":
            lines.append("Folder=%AppDir%\\" + rel_folder.replace("/", "\\"))
        for name in sorted(files):
            source = os.path.relpath(os.path.join(folder, name), base).replace("/", "\\")
            dest = os.path.normpath(os.path.join(rel_folder, name)).replace("/", "\\")
            lines.append("File=%%AppDir%%\\%s,%s,1,0" % (dest, source))
    sections = [
        ["[BUILDER_INFO]", "Version=1.0"],
        ["[GENERAL_INFO]", "ProductName=Benchmark", "ProductVersion=1.0", "CompanyName=Quillset"],
        ["[SETUP_INFO]", "EnableUninstaller=Yes", "SetupLanguages=English", "DefaultSetupLanguage=English"],
        ["[CREATE_SETUP]", "OutputFolder=output", "SetupFilename=Setup.exe", "SetupIconPathname=",
         "CreateSelfExtractedSetup=" + ("Yes" if mode == "single" else "No")],
        ["[APPLICATION_FILES]"] + lines,
    ]
    with open(project, "wb") as out:
        for section in sections:
            out.write(("\r\n".join(section) + "\r\n\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
