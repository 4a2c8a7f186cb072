# What the tools/try-*.sh scripts share; sourced, not run.

# Compares one read-back value, prints it and remembers a failure in `fail`.
fail=0
check() { # what, expected, actual
    if [[ "$2" == "$3" ]]; then echo "ok   $1: $3"; else echo "FAIL $1: expected [$2], got [$3]"; fail=1; fi
}

# Writes the till's own file (收银机.ini) with the receipt printer on 127.0.0.1:port and no drawer kick, in
# QSettings' form: a key's characters past ASCII as %UXXXX.
use_network_receipt_printer() { # till file, port
    python3 - "$1" "$2" <<'PY'
import sys
def key(text):
    return "".join(c if ord(c) < 128 else "%%U%04x" % ord(c) for c in text)
values = {"网络打印机地址": "127.0.0.1", "网络打印机端口": sys.argv[2], "结算后打开钱箱": "0", "打印机类型": "1"}
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("[own]\n" + "".join(f"{key(k)}={v}\n" for k, v in values.items()))
PY
}
