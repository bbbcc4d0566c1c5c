#!/usr/bin/python3
# An FTP server whose TLS is broken like a server without a certificate: it
# answers AUTH TLS with 234 and then closes the connection instead of the
# handshake. Otherwise a small plain FTP server with one empty folder, logging
# every line it receives as "CMD <line>" (passwords included). Prints
# "PORT <n>" once it listens.
import argparse
import socket
import threading


def serve(conn):
    def say(text):
        conn.sendall((text + "\r\n").encode())

    simple = {"USER": "331 password please", "PASS": "230 logged in", "TYPE": "200 OK", "NOOP": "200 OK",
              "PWD": '257 "/" is the current folder', "FEAT": "211-Features:\r\n EPSV\r\n211 End",
              "QUIT": "221 bye"}
    say("220 broken TLS test server")
    for raw in conn.makefile("rb"):
        line = raw.decode().rstrip("\r\n")
        print("CMD %s" % line, flush=True)
        verb = line.split(" ")[0].upper()
        if verb == "AUTH":
            say("234 AUTH TLS successful")
            conn.close()
            return
        if verb in simple:
            say(simple[verb])
        elif verb == "EPSV":
            listener = socket.create_server(("127.0.0.1", 0))
            say("229 Entering Extended Passive Mode (|||%d|)" % listener.getsockname()[1])
        elif verb in ("LIST", "MLSD"):
            data, _ = listener.accept()
            say("150 Opening data connection")
            data.close()
            say("226 Transfer complete")
        else:
            say("502 Not implemented")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root")   # given by the test harness; nothing is served from it
    parser.parse_args()
    server = socket.create_server(("127.0.0.1", 0))
    print("PORT %d" % server.getsockname()[1], flush=True)
    while True:
        threading.Thread(target=serve, args=(server.accept()[0],), daemon=True).start()


if __name__ == "__main__":
    main()
