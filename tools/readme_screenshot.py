#!/usr/bin/python3
"""Makes docs/screenshot.png for the README: Corvexo connected to a local test
server, in a private X session. Needs a built program (./test or ./run first)
(the server listens on any free port).

    /usr/bin/python3 tools/readme_screenshot.py [--exe build/corvexo] [--lang en|ja]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from user_session import SkipTest, UserSession  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "corvexo"))
    parser.add_argument("--lang", choices=("en", "ja"), default="en")
    parser.add_argument("--out", default=os.path.join(ROOT, "docs", "screenshot.png"))
    args = parser.parse_args()
    args.artifacts = tempfile.mkdtemp(prefix="corvexo-shot-")
    args.keep = False
    session = UserSession(args)
    try:
        os.makedirs(args.artifacts, exist_ok=True)
        session.prepare_files()
        session.start_server()
        session.x.start()
        session.start_app()
        session.enter_setting()
        session.connect()
        os.makedirs(os.path.dirname(args.out), exist_ok=True)
        subprocess.run(["import", "-window", session.main, args.out], check=True,
                       env=dict(os.environ, DISPLAY=session.x.display))
        print("wrote", args.out)
        return 0
    except SkipTest as skip:
        print("cannot make the screenshot:", skip)
        return 1
    finally:
        session.stop_all()
        shutil.rmtree(session.work, ignore_errors=True)
        shutil.rmtree(args.artifacts, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
