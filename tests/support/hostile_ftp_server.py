#!/usr/bin/python3
# A scripted FTP server that misbehaves on cue, for what pyftpdlib will not do.
# Prints "PORT <n>" once it listens. One file of --size bytes is announced in
# the SIZE reply (or, with --announce 150, as "(N bytes)" in the 150 reply).
# --mode: short (the data stops at 40%, then 226), long (three times the size
# is sent), drip (every reply goes out a byte at a time), slow (the data moves
# in small pieces with pauses, each shorter than a time-out; a LIST too, of
# --size / 40 lines), garbage (the
# greeting is no FTP reply).
import argparse
import socket
import threading
import time


def serve(conn, args):
    def say(text):
        data = (text + "\r\n").encode()
        for piece in ([data[i:i + 1] for i in range(len(data))] if args.mode == "drip" else [data]):
            conn.sendall(piece)
            time.sleep(args.pause if args.mode == "drip" else 0)

    simple = {"USER": "331 password please", "PASS": "230 logged in", "TYPE": "200 OK", "NOOP": "200 OK",
              "PWD": '257 "/" is the current folder', "SIZE": "213 %d" % args.size, "ABOR": "225 Nothing to abort",
              "FEAT": "211-Features:\r\n EPSV\r\n" + (" SIZE\r\n" if args.announce == "size" else "") + "211 End"}
    body = bytes(i % 251 for i in range(args.size))
    sent = {"short": body[:len(body) * 2 // 5], "long": body * 3}.get(args.mode, body)
    listing = b"".join(b"-rw-r--r-- 1 u g 1 Feb 14  2024 f%03d\r\n" % i for i in range(args.size // 40))
    say("hello, no reply code here" if args.mode == "garbage" else "220 hostile test server")
    for raw in conn.makefile("rb"):
        verb = raw.decode().split(" ")[0].strip().upper()
        if verb in simple:
            say(simple[verb])
        elif verb == "EPSV":
            listener = socket.create_server(("127.0.0.1", 0))
            say("229 Entering Extended Passive Mode (|||%d|)" % listener.getsockname()[1])
        elif verb in ("RETR", "LIST"):
            data, _ = listener.accept()
            say("150 Opening data connection" + (" (%d bytes)" % args.size if args.announce == "150" else ""))
            payload = listing if verb == "LIST" else sent
            step = 64 if args.mode == "slow" else len(payload)
            for i in range(0, len(payload), step):
                data.sendall(payload[i:i + step])
                time.sleep(args.pause if args.mode == "slow" else 0)
            data.close()
            say("226 Transfer complete")
        else:
            say("502 Not implemented")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=["short", "long", "drip", "slow", "garbage"], required=True)
    parser.add_argument("--announce", choices=["size", "150"], default="size")
    parser.add_argument("--size", type=int, default=100000)
    parser.add_argument("--pause", type=float, default=0.2)
    parser.add_argument("--root")   # given by the test harness; nothing is served from it
    args = parser.parse_args()
    server = socket.create_server(("127.0.0.1", 0))
    print("PORT %d" % server.getsockname()[1], flush=True)
    while True:
        threading.Thread(target=serve, args=(server.accept()[0], args), daemon=True).start()


if __name__ == "__main__":
    main()
