"""How the tooling tells the developer what it does: one line on standard
error, marked as the tooling's own."""
import sys


def say(text):
    print("==> %s" % text, file=sys.stderr, flush=True)
