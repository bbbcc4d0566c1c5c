#!/usr/bin/python3
# A scripted FTP server that misbehaves on cue, for what pyftpdlib will not do.
# Prints "PORT <n>" once it listens, then "CMD <verb>" for every command.
# One file "f.bin" of --size bytes is announced in the SIZE reply (or, with
# --announce 150, as "(N bytes)" in the 150 reply); SIZE of a stored file
# gives what was kept of it, 550 for any other name.
# --mode: short (the data stops at 40%, then 226), long (three times the size
# is sent), drip (every reply goes out a byte at a time), slow (the data moves
# in small pieces with pauses, each shorter than a time-out; a LIST too, of
# --size / 40 lines), garbage (the greeting is no FTP reply), truncstore (a
# STOR keeps 40% of what arrived and answers 226), inject (under PROT P, plain
# listing bytes go out on the data connection before the 150), intruder
# (passive mode refused; before the server's own data connection, another
# address, 127.0.0.2, connects and sends a listing), deafabor (a file's data in
# slow pieces; ABOR and NOOP are never answered), hangcwd (the listing holds a link
# "docs -> /srv/docs", and CWD into it is never answered), dropdele (DELE
# deletes, then the connection closes without a reply).
# --no-feat: FEAT is answered 500. --tls CERT KEY: AUTH TLS is offered;
# with --old-tls, only TLS 1.0 and 1.1.
import argparse
import socket
import ssl
import threading
import time
import warnings

LINE = b"-rw-r--r-- 1 u g 1 Feb 14  2024 %s\r\n"


class Session:
    # One client's conversation; after AUTH TLS it goes on over the encrypted connection.
    def __init__(self, conn, args, files):
        self.conn, self.args, self.files = conn, args, files
        self.listener = None

    def say(self, text):
        data = (text + "\r\n").encode()
        drip = self.args.mode == "drip"
        for piece in ([data[i:i + 1] for i in range(len(data))] if drip else [data]):
            self.conn.sendall(piece)
            time.sleep(self.args.pause if drip else 0)

    def run(self):
        args = self.args
        feat = "211-Features:\r\n EPSV\r\n" + (" SIZE\r\n" if args.announce == "size" else "") + "211 End"
        self.simple = {"USER": "331 password please", "PASS": "230 logged in", "TYPE": "200 OK",
                       "NOOP": "200 OK", "PWD": '257 "/" is the current folder', "ABOR": "225 Nothing to abort",
                       "PBSZ": "200 OK", "PROT": "200 OK", "FEAT": "500 Unknown command" if args.no_feat else feat}
        if args.mode == "deafabor":
            del self.simple["ABOR"], self.simple["NOOP"]
        self.listing = b"".join(LINE % (b"f%03d" % i) for i in range(args.size // 40))
        if args.mode == "hangcwd":
            self.listing = LINE % b"a.txt" + b"lrwxrwxrwx 1 u g 9 Feb 14  2024 docs -> /srv/docs\r\n"
        self.say("hello, no reply code here" if args.mode == "garbage" else "220 hostile test server")
        while self.converse():
            pass

    def converse(self):
        # True when the conversation goes on over a new (encrypted) connection.
        for raw in self.conn.makefile("rb"):
            verb, _, operand = raw.decode().strip().partition(" ")
            verb = verb.upper()
            print("CMD %s" % verb, flush=True)
            if verb in self.simple:
                self.say(self.simple[verb])
            elif verb == "AUTH" and self.args.tls:
                self.say("234 go ahead")
                context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                context.load_cert_chain(*self.args.tls)
                if self.args.old_tls:
                    with warnings.catch_warnings():
                        warnings.simplefilter("ignore")
                        context.minimum_version = ssl.TLSVersion.TLSv1
                        context.maximum_version = ssl.TLSVersion.TLSv1_1
                    context.set_ciphers("DEFAULT:@SECLEVEL=0")
                try:
                    self.conn = context.wrap_socket(self.conn, server_side=True)
                except ssl.SSLError:
                    return False
                return True
            elif not self.answer(verb, operand):
                return False
        return False

    def answer(self, verb, operand):
        # False when the connection was dropped on purpose.
        args, files = self.args, self.files
        if verb == "EPSV" and args.mode != "intruder":
            self.listener = socket.create_server(("127.0.0.1", 0))
            self.say("229 Entering Extended Passive Mode (|||%d|)" % self.listener.getsockname()[1])
        elif verb == "EPRT":
            self.listener = operand
            self.say("200 EPRT OK")
        elif verb == "SIZE":
            size = args.size if operand == "f.bin" else len(files[operand]) if operand in files else -1
            self.say("213 %d" % size if size >= 0 else "550 No such file")
        elif verb == "CWD":
            if not (args.mode == "hangcwd" and operand == "docs"):
                self.say("250 OK" if operand == "/" else "550 No such folder")
        elif verb == "DELE":
            gone = files.pop(operand, None) is not None
            if args.mode == "dropdele":
                self.conn.shutdown(socket.SHUT_RDWR)
                return False
            self.say("250 Deleted" if gone else "550 No such file")
        elif verb in ("RETR", "LIST", "STOR"):
            data = open_data(args, self.listener)
            self.say("150 Opening data connection" + (" (%d bytes)" % args.size if args.announce == "150" else ""))
            if verb == "STOR":
                received = b"".join(iter(lambda: data.recv(65536), b""))
                files[operand] = received[:len(received) * 2 // 5] if args.mode == "truncstore" else received
            else:
                body = bytes(i % 251 for i in range(args.size))
                sent = {"short": body[:len(body) * 2 // 5], "long": body * 3}.get(args.mode, body)
                slow = args.mode == "slow" or (args.mode == "deafabor" and verb == "RETR")
                send_slowly(data, args, self.listing if verb == "LIST" else sent, slow)
            data.close()
            self.say("226 Transfer complete")
        else:
            self.say("502 Not implemented")
        return True


def connect_back(operand, source):
    _, _, host, port, _ = operand.split("|")
    return socket.create_connection((host, int(port)), source_address=(source, 0))


def open_data(args, listener):
    if args.mode == "intruder":
        try:
            intruder = connect_back(listener, "127.0.0.2")
            intruder.sendall(LINE % b"intruded")
            intruder.close()
        except OSError:
            pass
        time.sleep(0.2)
        return connect_back(listener, "127.0.0.1")
    data, _ = listener.accept()
    if args.mode == "inject":
        data.sendall(LINE % b"injected")
    return data


def send_slowly(data, args, payload, slow):
    step = 64 if slow else len(payload) or 1
    try:
        for i in range(0, len(payload), step):
            data.sendall(payload[i:i + step])
            time.sleep(args.pause if slow else 0)
    except OSError:
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=["short", "long", "drip", "slow", "garbage", "truncstore", "inject",
                                           "intruder", "deafabor", "hangcwd", "dropdele"], required=True)
    parser.add_argument("--announce", choices=["size", "150"], default="size")
    parser.add_argument("--size", type=int, default=100000)
    parser.add_argument("--pause", type=float, default=0.2)
    parser.add_argument("--no-feat", action="store_true")
    parser.add_argument("--old-tls", action="store_true")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), default=None)
    parser.add_argument("--root")   # given by the test harness; nothing is served from it
    args = parser.parse_args()
    server = socket.create_server(("127.0.0.1", 0))
    print("PORT %d" % server.getsockname()[1], flush=True)
    files = {"gone.txt": b"x", "kept.txt": b"y"}
    while True:
        threading.Thread(target=Session(server.accept()[0], args, files).run, daemon=True).start()


if __name__ == "__main__":
    main()
