#!/usr/bin/env python3
"""make_files_project.py DIR FOLDERS FILES

Makes FILES small product files spread evenly over FOLDERS folders below DIR/files (five kinds
of extension, fixed times) and DIR/Files.qsp, a project that installs them all below the
application folder. Source paths are relative to the project."""
import os
import sys

EXTENSIONS = [".txt", ".dll", ".dat", ".ini", ".html"]


def main():
    base, folders, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    lines = []
    per_folder = files // folders
    for f in range(folders):
        folder = "folder%03d" % f if folders > 1 else "all"
        os.makedirs(os.path.join(base, "files", folder), exist_ok=True)
        lines.append("Folder=%%AppDir%%\\%s" % folder)
        for n in range(per_folder):
            name = "file%05d%s" % (n, EXTENSIONS[n % len(EXTENSIONS)])
            path = os.path.join(base, "files", folder, name)
            if not os.path.exists(path):
                with open(path, "wb") as out:
                    out.write(b"x" * (n % 4096))
                os.utime(path, (1014987900, 1014987900))
            lines.append("File=%%AppDir%%\\%s\\%s,files\\%s\\%s,1,0" % (folder, name, folder, name))
    sections = [
        ["[BUILDER_INFO]", "Version=1.0"],
        ["[GENERAL_INFO]", "ProductName=Files", "ProductVersion=1.0", "CompanyName=Quillset"],
        ["[SETUP_INFO]", "EnableUninstaller=Yes", "SetupLanguages=English", "DefaultSetupLanguage=English"],
        ["[APPLICATION_FILES]"] + lines,
    ]
    with open(os.path.join(base, "Files.qsp"), "wb") as out:
        for section in sections:
            out.write(("\r\n".join(section) + "\r\n\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
