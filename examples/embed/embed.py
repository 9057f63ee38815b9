"""Writes a value with the Quorvel control from Python and reads it back.

Usage: python3 embed.py STORE_FILE
"""
import sys

import orvane


def main(store_file):
    orvane.select_store(store_file)
    writer = orvane.Quorvel()
    writer.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Embed"
    writer.ValueName = "FromPython"
    writer.ValueType = orvane.defValueType.StringType
    writer.Value = "hello"
    writer.SetValue(SetMode=orvane.QVOpenMode.OpenAndCreate)

    reader = orvane.Quorvel()
    reader.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Embed"
    reader.ValueName = "FromPython"
    reader.GetValue()
    print("FromPython =", reader.Value, "(orvane %s)" % orvane.__version__)
    return 0 if reader.Value == "hello" else 1


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: embed.py STORE_FILE")
    sys.exit(main(sys.argv[1]))
