"""The same sequence as one mail check, with Python's poplib: log in, then
TOP n 0, LIST n and RETR n for every message, then QUIT."""
import poplib
import sys

host, port, user, password = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
session = poplib.POP3(host, port, timeout=30)
session.user(user)
session.pass_(password)
count, _ = session.stat()
for number in range(1, count + 1):
    session.top(number, 0)
    session.list(number)
    session.retr(number)
session.quit()
