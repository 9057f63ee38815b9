# orvane.winreg against the same Win32 calls made on Wine by winreg_calls.cpp
# (built with MinGW-w64): each line "label status [result]" must match.
import os
import shutil
import subprocess
from pathlib import Path

import pytest

import orvane.winreg as winreg

HERE = Path(__file__).resolve().parent
RUN_UNDER_WINE = HERE.parents[3] / "cmake" / "run_under_wine.sh"
COMPILER = "x86_64-w64-mingw32-g++"


def status(call):
    """'0 result' (or '0') when `call` succeeds, else its winerror."""
    try:
        result = call()
    except OSError as error:
        return str(error.winerror)
    return "0" if result is None else "0 " + result


def our_lines():
    lines = []

    def line(label, call):
        lines.append(label + " " + status(call))

    key = winreg.CreateKeyEx(winreg.HKEY_CURRENT_USER, r"Software\WinregWine", 0, winreg.KEY_ALL_ACCESS)
    line("create", lambda: None)
    line("open-missing", lambda: winreg.OpenKey(key, "Missing") and None)
    line("query-missing", lambda: winreg.QueryValueEx(key, "missing") and None)
    line("delete-value-missing", lambda: winreg.DeleteValue(key, "missing"))
    line("delete-key-missing", lambda: winreg.DeleteKey(key, "Missing"))
    for path in [r"b\Deeper", r"A\Deeper", r"c\Deeper"]:
        winreg.CreateKey(key, path).Close()
    line("delete-key-with-sub-keys", lambda: winreg.DeleteKey(key, "b"))
    names = []

    def enumerate_keys():
        while True:
            names.append(winreg.EnumKey(key, len(names)))

    lines.append("enum-keys " + status(enumerate_keys) + " " + "".join(name + "," for name in names))
    line("enum-value-past-end", lambda: winreg.EnumValue(key, 0) and None)
    line("query-default-unset", lambda: "str:" + winreg.QueryValue(key, None))
    line("set-value-sub-key", lambda: winreg.SetValue(key, r"New\Deeper", winreg.REG_SZ, "made"))
    line("query-value-sub-key", lambda: "str:" + winreg.QueryValue(key, r"New\Deeper"))
    line("info", lambda: "%d,%d" % winreg.QueryInfoKey(key)[:2])
    with winreg.OpenKey(key, "") as read_only:
        line("set-on-read-handle", lambda: winreg.SetValueEx(read_only, "v", 0, winreg.REG_SZ, "x"))
    line("open-other-case", lambda: winreg.OpenKey(winreg.HKEY_CURRENT_USER, r"SOFTWARE\winregwine").Close())
    line("delete-key-ex-reserved", lambda: winreg.DeleteKeyEx(key, r"c\Deeper", winreg.KEY_WOW64_64KEY, 1))
    line("delete-key-ex", lambda: winreg.DeleteKeyEx(key, r"c\Deeper", winreg.KEY_WOW64_32KEY, 0))
    line("close-predefined", lambda: winreg.CloseKey(winreg.HKEY_LOCAL_MACHINE))
    closed = winreg.OpenKey(key, "A")
    number = int(closed)
    closed.Close()
    line("info-closed", lambda: winreg.QueryInfoKey(number) and None)
    line("connect-remote", lambda: winreg.ConnectRegistry(r"\\no-such-computer", winreg.HKEY_LOCAL_MACHINE) and None)
    os.environ["WINREG_A"] = "alpha"
    os.environ.pop("WINREG_UNSET", None)
    line("expand", lambda: winreg.ExpandEnvironmentStrings("%WINREG_A%|%winreg_a%|%WINREG_UNSET%|100% sure|%%"))
    key.Close()
    return lines


@pytest.mark.skipif(not (shutil.which("wine") and shutil.which("wineserver") and shutil.which(COMPILER)),
                    reason="needs wine and " + COMPILER)
def test_winreg_matches_the_win32_calls_on_wine(tmp_path, monkeypatch):
    program = tmp_path / "winreg_calls.exe"
    subprocess.run([COMPILER, "-std=c++20", "-O1", "-static", "-o", str(program), str(HERE / "winreg_calls.cpp")],
                   check=True, timeout=300)
    done = subprocess.run([str(RUN_UNDER_WINE), str(program)], capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stderr
    monkeypatch.delenv("WINREG_A", raising=False)
    assert our_lines() == done.stdout.splitlines()
