#!/usr/bin/python3
"""A scripted FTP server that misbehaves on cue, for what pyftpdlib will not do.

Prints "PORT <n>" once it listens. One file, "f.bin", of --size bytes, is
announced in the SIZE reply (or, with --announce 150, as "(N bytes)" in the
150 reply). --mode: short (the data stops at 40% and 226 follows), long (three
times the size is sent), drip (every reply goes out one byte at a time),
slow (the data moves in small pieces with pauses, each shorter than a time-out).
"""
import argparse
import socket
import threading
import time


def serve(conn, args):
    def say(text):
        data = (text + "\r\n").encode()
        if args.mode == "drip":
            for i in range(len(data)):
                conn.sendall(data[i:i + 1])
                time.sleep(args.pause)
        else:
            conn.sendall(data)

    listener = None
    body = bytes(i % 251 for i in range(args.size))
    say("220 hostile test server")
    reader = conn.makefile("rb")
    for raw in reader:
        verb, _, arg = raw.decode().strip().partition(" ")
        verb = verb.upper()
        if verb == "USER":
            say("331 password please")
        elif verb == "PASS":
            say("230 logged in")
        elif verb == "FEAT":
            say("211-Features:\r\n EPSV\r\n" + (" SIZE\r\n" if args.announce == "size" else "") + "211 End")
        elif verb in ("TYPE", "NOOP"):
            say("200 OK")
        elif verb == "PWD":
            say('257 "/" is the current folder')
        elif verb == "SIZE":
            say("213 %d" % args.size)
        elif verb == "EPSV":
            listener = socket.create_server(("127.0.0.1", 0))
            say("229 Entering Extended Passive Mode (|||%d|)" % listener.getsockname()[1])
        elif verb == "RETR" and listener:
            data, _ = listener.accept()
            say("150 Opening data connection" + (" (%d bytes)" % args.size if args.announce == "150" else ""))
            sent = {"short": body[:len(body) * 2 // 5], "long": body * 3}.get(args.mode, body)
            step = 64 if args.mode == "slow" else len(sent) or 1
            for i in range(0, len(sent), step):
                data.sendall(sent[i:i + step])
                if args.mode == "slow":
                    time.sleep(args.pause)
            data.close()
            say("226 Transfer complete")
        elif verb == "ABOR":
            say("225 No transfer to abort")
        elif verb == "QUIT":
            say("221 Bye")
            break
        else:
            say("502 Not implemented")
    conn.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=["short", "long", "drip", "slow"], required=True)
    parser.add_argument("--announce", choices=["size", "150"], default="size")
    parser.add_argument("--size", type=int, default=100000)
    parser.add_argument("--pause", type=float, default=0.2)
    parser.add_argument("--root")   # accepted like the other test server's; nothing is served from it
    args = parser.parse_args()
    server = socket.create_server(("127.0.0.1", 0))
    print("PORT %d" % server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, args), daemon=True).start()


if __name__ == "__main__":
    main()
