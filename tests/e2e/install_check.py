#!/usr/bin/python3
# `cmake --install` into a temporary prefix, then the installed program is
# started from another folder: it must show its window, find its pictures under
# share/corvexo, and keep its data in the user's data directory.
# With --package: `cpack -G DEB` makes the Debian package, whose files, dependencies
# and AppStream metainfo are checked.
#
# Exit codes: 0 passed, 1 failed, 77 skipped.
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import SessionError, XSession, tools_missing  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def check_installed_files(prefix):
    expected = ["bin/corvexo", "share/applications/corvexo.desktop", "share/icons/hicolor/64x64/apps/corvexo.png",
                "share/icons/hicolor/scalable/apps/corvexo.svg"]
    expected += ["share/corvexo/" + os.path.basename(p) for pattern in ("*.gif", "*.png", "*.svg")
                 for p in glob.glob(os.path.join(SOURCE, "resources", pattern))]
    missing = [p for p in expected if not os.path.exists(os.path.join(prefix, p))]
    if missing:
        raise SessionError("not installed: " + ", ".join(missing))
    with open(os.path.join(prefix, "share/applications/corvexo.desktop"), encoding="utf-8") as f:
        lacking = {"Exec=corvexo", "Icon=corvexo", "Type=Application"} - set(f.read().splitlines())
    if lacking:
        raise SessionError("the desktop entry lacks " + ", ".join(sorted(lacking)))


def run_installed(prefix, work, artifacts):
    x = XSession(artifacts)
    x.start()
    os.makedirs(os.path.join(work, "elsewhere"))
    env = dict(os.environ, DISPLAY=x.display, XDG_DATA_HOME=os.path.join(work, "data"), HOME=work,
               XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=work), QT_QPA_PLATFORM="xcb", LANG="C.UTF-8", LC_ALL="C.UTF-8")
    app = subprocess.Popen([os.path.join(prefix, "bin/corvexo")], cwd=os.path.join(work, "elsewhere"), env=env)
    try:
        main = x.find_window("Corvexo1.0 Beta2", pid=app.pid)
        time.sleep(1)
        x.key(main, "ctrl+h")
        x.screenshot("installed-about")
        x.key(main, "ctrl+x")
        app.wait(15)
        if not os.path.exists(os.path.join(work, "data", "Corvexo", "childpf")):
            raise SessionError("the installed program kept no childpf in the user's data directory")
    finally:
        app.kill()
        x.stop()


def check_package(build, work, artifacts):
    needed = ("cpack", "dpkg-deb", "dpkg-shlibdeps", "appstreamcli")
    missing = [t for t in needed if shutil.which(t) is None]
    if missing:
        print("SKIPPED: missing tools:", ", ".join(missing), "(cmake, dpkg-dev, appstream)")
        return 77
    subprocess.run(["cpack", "-G", "DEB", "-B", work], cwd=build, check=True, stdout=subprocess.DEVNULL)
    debs = glob.glob(os.path.join(work, "corvexo_*.deb"))
    if len(debs) != 1:
        raise SessionError("cpack made no corvexo_*.deb")
    listing = subprocess.run(["dpkg-deb", "-c", debs[0]], check=True, stdout=subprocess.PIPE, text=True).stdout
    with open(os.path.join(artifacts, "package-files.txt"), "w", encoding="utf-8") as f:
        f.write("%s, %d bytes\n%s" % (os.path.basename(debs[0]), os.path.getsize(debs[0]), listing))
    metainfo = "usr/share/metainfo/org.example.corvexo.metainfo.xml"
    for path in ("usr/bin/corvexo", "usr/bin/corvexo-ftp-console", "usr/share/applications/corvexo.desktop",
                 "usr/share/icons/hicolor/64x64/apps/corvexo.png", "usr/share/corvexo/about.gif", metainfo,
                 "usr/share/doc/corvexo/copyright", "usr/share/doc/corvexo/changelog.gz",
                 "usr/share/man/man1/corvexo.1.gz", "usr/share/man/man1/corvexo-ftp-console.1.gz"):
        if " ./" + path not in listing:
            raise SessionError("the package lacks " + path)
    if "libqt6widgets6" not in subprocess.run(["dpkg-deb", "-f", debs[0], "Depends"], stdout=subprocess.PIPE,
                                              text=True).stdout:
        raise SessionError("the package's dependencies miss Qt")
    tree = os.path.join(work, "tree")
    subprocess.run(["dpkg-deb", "-x", debs[0], tree], check=True)
    subprocess.run(["appstreamcli", "validate", "--no-net", os.path.join(tree, metainfo)], check=True)
    # Debian's own checks: no errors (warnings and notes are kept for reading).
    if shutil.which("lintian"):
        report = subprocess.run(["lintian", "--tag-display-limit", "0", debs[0]], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True).stdout
        with open(os.path.join(artifacts, "lintian.txt"), "w", encoding="utf-8") as f:
            f.write(report)
        errors = [line for line in report.splitlines() if line.startswith("E:")]
        if errors:
            raise SessionError("lintian finds errors:\n" + "\n".join(errors))
    print("passed:", os.path.basename(debs[0]), os.path.getsize(debs[0]), "bytes")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--package", action="store_true")
    args = parser.parse_args()
    if tools_missing() and not args.package:
        print("SKIPPED: missing tools:", ", ".join(tools_missing()))
        return 77
    os.makedirs(args.artifacts, exist_ok=True)
    work = tempfile.mkdtemp(prefix="corvexo-install-")
    try:
        if args.package:
            return check_package(args.build, work, args.artifacts)
        subprocess.run(["cmake", "--install", args.build, "--prefix", os.path.join(work, "prefix")], check=True,
                       stdout=subprocess.DEVNULL)
        check_installed_files(os.path.join(work, "prefix"))
        run_installed(os.path.join(work, "prefix"), work, args.artifacts)
        print("passed")
        return 0
    except (SessionError, subprocess.CalledProcessError, subprocess.TimeoutExpired) as error:
        print("FAILED:", error)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
