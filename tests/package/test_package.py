#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs this build into the Debian package with CPack, then checks that the package holds both
# programs and all a desktop needs, and depends on the Qt 6 libraries and the page fonts.
#   test_package.py CPACK CPACK_CONFIG
import subprocess
import sys
import tempfile

SHARE = "./usr/share/"
FILES = ["./usr/bin/ostrabel", "./usr/bin/ostrabel-cli", SHARE + "applications/ostrabel.desktop",
         SHARE + "metainfo/nl.ostrabel.ostrabel.metainfo.xml", SHARE + "doc/ostrabel/copyright",
         SHARE + "man/man1/ostrabel.1.gz", SHARE + "man/man1/ostrabel-cli.1.gz"] + [
    f"{SHARE}icons/hicolor/{n}x{n}/apps/ostrabel.png" for n in (32, 48, 64, 128, 256)]
DEPENDS = ["libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6",
           "fonts-liberation2", "qt6-image-formats-plugins", "libheif1", "libpng16-16", "libtiff6"]


def run(*command):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True).stdout


cpack, config = sys.argv[1:]
with tempfile.TemporaryDirectory() as out:
    run(cpack, "-G", "DEB", "--config", config, "-B", out)
    deb = f"{out}/ostrabel_1.00-1_amd64.deb"
    contents = {line.split()[5] for line in run("dpkg-deb", "--contents", deb).splitlines()}
    depends = {entry.split()[0] for entry in run("dpkg-deb", "-f", deb, "Depends").split(", ")}
missing = [f for f in FILES if f not in contents] + [d for d in DEPENDS if d not in depends]
sys.exit(f"missing from the package: {missing}" if missing else None)
