#!/usr/bin/python3
"""Download over TLS beside curl, against a local vsftpd with forced TLS.

vsftpd is run from its own folder (apt-get download vsftpd libwrap0, then
dpkg -x each into one folder), with anonymous access, TLS forced for the login
and the data, and require_ssl_reuse, so the data connections must resume the
control connection's TLS session. The same file is fetched by
corvexo-ftp-console (trusting the certificate made here by its fingerprint)
and by curl --ssl-reqd; prints both throughputs and the ratio (ours / curl's).
Run by hand as root (vsftpd drops to --ftp-user, whose home must exist).

  bench/tls_bench.py --vsftpd-root /tmp/vsf/root [--console build/tools/corvexo-ftp-console]
                     [--size-mib 1024] [--port 2121] [--ftp-user bin] [--rounds 2]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

CONFIG = """listen=YES
listen_address=127.0.0.1
listen_port={port}
anonymous_enable=YES
local_enable=NO
write_enable=YES
anon_upload_enable=YES
anon_other_write_enable=YES
anon_root={anon}
no_anon_password=YES
ftp_username={user}
nopriv_user={user}
secure_chroot_dir={empty}
ssl_enable=YES
allow_anon_ssl=YES
force_anon_logins_ssl=YES
force_anon_data_ssl=YES
require_ssl_reuse=YES
ssl_tlsv1=NO
ssl_sslv2=NO
ssl_sslv3=NO
rsa_cert_file={cert}
rsa_private_key_file={key}
seccomp_sandbox=NO
background=NO
"""


def fingerprint(cert):
    out = subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-fingerprint", "-sha256"],
                         capture_output=True, text=True, check=True).stdout
    return out.strip().split("=", 1)[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vsftpd-root", required=True)
    parser.add_argument("--console", default=os.path.join(os.path.dirname(__file__), "..", "build", "tools",
                                                          "corvexo-ftp-console"))
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--port", type=int, default=2121)
    parser.add_argument("--ftp-user", default="bin")
    parser.add_argument("--rounds", type=int, default=2)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="corvexo-tls-bench-")
    os.chmod(work, 0o755)
    try:
        anon, empty = os.path.join(work, "anon"), os.path.join(work, "empty")
        pub = os.path.join(anon, "pub")
        os.makedirs(pub)
        os.makedirs(empty)
        os.chmod(anon, 0o555)
        os.chmod(pub, 0o777)
        cert, key = os.path.join(work, "cert.pem"), os.path.join(work, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                        "/CN=localhost", "-keyout", key, "-out", cert], check=True, capture_output=True)
        block = os.urandom(1024 * 1024)
        with open(os.path.join(pub, "big.bin"), "wb") as f:
            for _ in range(args.size_mib):
                f.write(block)
        config = os.path.join(work, "vsftpd.conf")
        with open(config, "w") as f:
            f.write(CONFIG.format(port=args.port, anon=anon, user=args.ftp_user, empty=empty, cert=cert, key=key))
        env = dict(os.environ)
        root = os.path.abspath(args.vsftpd_root)
        env["LD_LIBRARY_PATH"] = root + "/lib/x86_64-linux-gnu:" + root + "/usr/lib/x86_64-linux-gnu"
        server = subprocess.Popen([root + "/usr/sbin/vsftpd", config], env=env)
        time.sleep(1)
        try:
            size = args.size_mib * 1024 * 1024
            target = os.path.join(work, "got.bin")
            ours, theirs = [], []
            # Alternating rounds, best of each: a busy machine slows single runs at random.
            for _ in range(args.rounds):
                start = time.perf_counter()
                done = subprocess.run([args.console, "--trust", fingerprint(cert), "127.0.0.1", str(args.port),
                                       "anonymous", ""], input="cd pub\nget big.bin %s\n" % target,
                                      capture_output=True, text=True)
                ours.append(time.perf_counter() - start)
                if done.returncode != 0 or os.path.getsize(target) != size:
                    raise SystemExit("corvexo-ftp-console failed:\n" + done.stdout[-2000:] + done.stderr[-2000:])
                os.remove(target)
                start = time.perf_counter()
                subprocess.run(["curl", "-sS", "--ssl-reqd", "-k", "-o", target,
                                "ftp://127.0.0.1:%d/pub/big.bin" % args.port], check=True)
                theirs.append(time.perf_counter() - start)
                if os.path.getsize(target) != size:
                    raise SystemExit("curl fetched a wrong size")
                os.remove(target)
            ours, theirs = min(ours), min(theirs)
        finally:
            server.terminate()
            server.wait()
        mib = size / (1024 * 1024)
        print("corvexo  %.2f s  %.0f MiB/s (whole run: login, download, file committed)" % (ours, mib / ours))
        print("curl     %.2f s  %.0f MiB/s" % (theirs, mib / theirs))
        print("ratio    %.2f (ours / curl's throughput; 0.80 or more is the goal)" % (theirs / ours))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
