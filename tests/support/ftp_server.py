#!/usr/bin/python3
# A local FTP server for the tests: pyftpdlib on 127.0.0.1.
#
# Prints "PORT <n>" on its first line once it listens, then serves until killed.
# Options: --root DIR (served folder), --port N (0 picks a free one),
# --no-mlsd (offer LIST only); the login is "user" with "secret".
# Fault options: --no-epsv (offer PASV only), --masquerade ADDR (PASV replies
# name ADDR), --throttle BYTES (data at most BYTES per second), --silent CMD
# (never answer CMD; may be repeated), --idle-timeout SECONDS.
# --legacy-bytes: names travel as the bytes on disk (Shift_JIS, EUC-JP) and
# FEAT does not offer UTF8, like an older Japanese server; with --claim-utf8
# FEAT offers it all the same, as some such servers do.
# --tls CERT KEY (explicit TLS, required for the login and for
# every data connection), --implicit-tls CERT KEY (TLS from the first byte),
# --broken-tls CERT KEY (AUTH TLS is answered with 234, then every handshake
# fails as on a server without a certificate; the login in clear text is allowed),
# --no-passive (refuse EPSV and PASV), --log-commands (print "CMD <verb>" on
# standard output for every command received), --log-lines (print the whole
# line, "CMD PASS secret", instead), --fail-once CMD (the first CMD is answered
# with 421 and the session closed).
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class ListOnlyHandler(FTPHandler):
    # A server that does not offer MLSD/MLST, so the client must parse LIST.
    proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}


def handler_class(args):
    # The handler with the chosen fault options applied.
    base = ListOnlyHandler if args.no_mlsd else FTPHandler
    if args.tls:
        base = with_tls(base, args.tls)
    if args.implicit_tls:
        base = with_implicit_tls(base, args.implicit_tls)
    if args.broken_tls:
        base = with_broken_tls(base, args.broken_tls)
    removed = {"EPSV"} if args.no_epsv else set()
    if args.no_passive:
        removed |= {"EPSV", "PASV"}
    silent = {c.upper() for c in args.silent}
    fail_once = {c.upper() for c in args.fail_once}

    class Handler(base):
        proto_cmds = {k: v for k, v in base.proto_cmds.items() if k not in removed}

        def process_command(self, cmd, *a, **kw):
            if cmd in silent:
                return
            if cmd in fail_once:
                fail_once.discard(cmd)
                self.respond("421 Service not available, closing control connection.")
                self.close_when_done()
                return
            return super().process_command(cmd, *a, **kw)

    if args.log_commands or args.log_lines:
        def pre_process_command(self, line, cmd, arg, _base=Handler.pre_process_command):
            print("CMD %s" % (line if args.log_lines else cmd), flush=True)
            return _base(self, line, cmd, arg)
        Handler.pre_process_command = pre_process_command
    if args.masquerade:
        Handler.masquerade_address = args.masquerade
    if args.throttle:
        class Throttled(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        Handler.dtp_handler = Throttled
        Handler.use_sendfile = False
    if args.idle_timeout:
        Handler.timeout = args.idle_timeout
    if args.legacy_bytes:
        Handler.unicode_errors = "surrogateescape"
        from pyftpdlib.handlers import asynchat
        Handler.push = lambda self, data: asynchat.async_chat.push(
            self, (data if args.claim_utf8 else data.replace(" UTF8\r\n", "")).encode("utf8", "surrogateescape"))
    return Handler


def with_tls(base, cert_and_key):
    # base behind explicit TLS that the client must use for everything.
    from pyftpdlib.handlers import TLS_FTPHandler

    class Tls(TLS_FTPHandler, base):
        proto_cmds = {k: v for k, v in TLS_FTPHandler.proto_cmds.items()
                      if k in base.proto_cmds or k in ("AUTH", "PBSZ", "PROT", "CCC")}
        certfile, keyfile = cert_and_key
        tls_control_required = True
        tls_data_required = True
    return Tls


def with_implicit_tls(base, cert_and_key):
    # base behind TLS from the first byte; the greeting comes once the handshake is done.
    tls = with_tls(base, cert_and_key)

    class Implicit(tls):
        def handle(self):
            self.secure_connection(self.ssl_context)

        def handle_ssl_established(self):
            tls.handle(self)
    return Implicit


def with_broken_tls(base, cert_and_key):
    # Like a server that has no certificate: AUTH TLS is accepted, then every
    # handshake fails for want of a cipher it could use.
    tls = with_tls(base, cert_and_key)

    class Broken(tls):
        tls_control_required = False
        tls_data_required = False

        @classmethod
        def get_ssl_context(cls):
            from OpenSSL import SSL
            if cls.ssl_context is None:
                cls.ssl_context = SSL.Context(SSL.TLS_METHOD)
            return cls.ssl_context
    return Broken


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port", type=int, default=0)
    for flag in ("--no-mlsd", "--no-epsv", "--legacy-bytes", "--claim-utf8", "--no-passive", "--log-commands",
                 "--log-lines"):
        parser.add_argument(flag, action="store_true")
    parser.add_argument("--masquerade", default=None)
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--silent", action="append", default=[])
    parser.add_argument("--fail-once", action="append", default=[])
    parser.add_argument("--idle-timeout", type=float, default=0)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), default=None)
    parser.add_argument("--implicit-tls", nargs=2, metavar=("CERT", "KEY"), default=None)
    parser.add_argument("--broken-tls", nargs=2, metavar=("CERT", "KEY"), default=None)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user("user", "secret", args.root, perm="elradfmwMT")
    handler = handler_class(args)
    handler.authorizer = authorizer
    handler.banner = "corvexo test server ready"
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", args.port), handler)
    server.max_cons = 64
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
