#!/usr/bin/env python3
"""Writes deterministic statement files for the benchmark.

For every size (10 thousand, 100 thousand and 1 million lines, the header
line included) it writes one file of each layout:
  statement-<size>-date-first.csv     DD/MM/YYYY,type,sort code,account,...
  statement-<size>-account-first.csv  sort code,account,DDMONYY,type,...
with quoted amounts with thousands separators, dashes in sort codes, cheques
and lines of another account. Every line's balance is its account's after
it, with its sign, so that the running balance of each account adds up;
credits are larger than debits, as there are fewer of them, so balances
wander around where they start. The same seed always gives the same bytes.

usage: generate_statements.py OUTPUT_DIR [SIZE ...]
"""
import os
import random
import sys

SIZES = (10_000, 100_000, 1_000_000)
OUR_SORT_CODE = "12-34-56"
OUR_ACCOUNT = "45678912"
OTHER = (("65-43-21", "11223344"), ("20-00-00", "90817263"))
MONTHS = ("JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC")
PAYEES = ("ORVALE ENERGY LTD . REF {}", "KESTREL SUPPLIES . PO {}", "UNIT 4 RENT . {}",
          "\"HALDEN & CO, INVOICE {}\"", "CARDEW LTD", "ACCOUNT FEE", "TRANSFER {}",
          "\"BRANT, MILLER & SONS {}\"")
TYPES = ("DD", "BGC", "FPO", "FPI", "SO", "CHG", "CHQ")


def money(pennies):
    sign = "-" if pennies < 0 else ""
    text = f"{sign}{abs(pennies) // 100:,}.{abs(pennies) % 100:02d}"
    return f"\"{text}\"" if "," in text else text


def lines(size, layout, rng):
    balances = {}  # by account: each line's balance is its own account's, after it
    cheque = 1000
    for index in range(size - 1):
        day, month, year = 1 + index % 28, 1 + (index // 28) % 12, 2020 + (index // 336) % 10
        sort_code, account = (OUR_SORT_CODE, OUR_ACCOUNT) if rng.random() > 0.05 else rng.choice(OTHER)
        kind = rng.choice(TYPES)
        if kind == "CHQ":
            cheque += 1
            description = str(cheque)
        else:
            description = rng.choice(PAYEES).format(rng.randrange(100, 99999))
        pennies = rng.choice((rng.randrange(100, 10000), rng.randrange(10000, 1_000_000), rng.randrange(1_000_000, 50_000_000)))
        credit = kind in ("BGC", "FPI")
        if credit:
            pennies = pennies * 5 // 2  # two credit types to five debit ones
        balance = balances.get(account, 500_000_00) + (pennies if credit else -pennies)
        balances[account] = balance
        debit_text, credit_text = ("", money(pennies)) if credit else (money(pennies), "")
        if layout == "date-first":
            head = f"{day:02d}/{month:02d}/{year},{kind},{sort_code},{account}"
        else:
            date = f"{day:02d}{MONTHS[month - 1]}{year % 100:02d}" if index % 3 else f"{day:02d}-{MONTHS[month - 1].title()}-{year % 100:02d}"
            head = f"{sort_code},{account},{date},{kind}"
        yield f"{head},{description},{debit_text},{credit_text},{money(balance)}\n"


def write(directory, size, layout):
    path = os.path.join(directory, f"statement-{size}-{layout}.csv")
    rng = random.Random(f"{size}-{layout}")
    with open(path, "w", newline="") as out:
        out.write("Transaction history,Orvale Online For Business\n")
        out.writelines(lines(size, layout, rng))
    return path


def main():
    directory = sys.argv[1]
    sizes = [int(size) for size in sys.argv[2:]] or SIZES
    os.makedirs(directory, exist_ok=True)
    for size in sizes:
        for layout in ("date-first", "account-first"):
            print(write(directory, size, layout))


if __name__ == "__main__":
    main()
