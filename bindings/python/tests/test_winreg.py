# orvane.winreg against winreg's documented behaviour.
import os
import subprocess
import sys
import textwrap
import threading
import time

import pytest

import orvane.winreg as winreg

KEY = r"Software\WinregTest"


@pytest.fixture
def key():
    with winreg.CreateKey(winreg.HKEY_CURRENT_USER, KEY) as handle:
        yield handle


# (type, data written, data read back)
ROUND_TRIPS = [
    (winreg.REG_SZ, "text", "text"),
    (winreg.REG_SZ, "naïve ✓ 𝄞", "naïve ✓ 𝄞"),
    (winreg.REG_SZ, "", ""),
    (winreg.REG_SZ, None, ""),
    (winreg.REG_SZ, "cut\0here", "cut"),
    (winreg.REG_EXPAND_SZ, "%HOME%\\x", "%HOME%\\x"),
    (winreg.REG_DWORD, 0, 0),
    (winreg.REG_DWORD, 0xFFFFFFFF, 0xFFFFFFFF),
    (winreg.REG_DWORD, None, 0),
    (winreg.REG_DWORD_LITTLE_ENDIAN, 7, 7),
    (winreg.REG_QWORD, 2**64 - 1, 2**64 - 1),
    (winreg.REG_QWORD, None, 0),
    (winreg.REG_BINARY, b"\x00\x01\xff", b"\x00\x01\xff"),
    (winreg.REG_BINARY, bytearray(b"ab"), b"ab"),
    (winreg.REG_BINARY, memoryview(b"cd"), b"cd"),
    (winreg.REG_BINARY, b"", None),
    (winreg.REG_BINARY, None, None),
    (winreg.REG_MULTI_SZ, ["a", "", "c"], ["a"]),
    (winreg.REG_MULTI_SZ, ["a", "b c"], ["a", "b c"]),
    (winreg.REG_MULTI_SZ, [], []),
    (winreg.REG_MULTI_SZ, None, []),
    (winreg.REG_NONE, b"x", b"x"),
    (winreg.REG_DWORD_BIG_ENDIAN, b"\0\0\0\1", b"\0\0\0\1"),
    (winreg.REG_LINK, b"l\0", b"l\0"),
    (0x12345, b"own", b"own"),
]


@pytest.mark.parametrize("kind, written, read", ROUND_TRIPS)
def test_data_round_trips_by_type(key, kind, written, read):
    winreg.SetValueEx(key, "v", 0, kind, written)
    assert winreg.QueryValueEx(key, "v") == (read, kind)
    assert winreg.EnumValue(key, 0) == ("v", read, kind)
    assert type(winreg.QueryValueEx(key, "v")[0]) is type(read)


@pytest.mark.parametrize("kind, written, error", [
    (winreg.REG_SZ, 5, ValueError),
    (winreg.REG_SZ, b"bytes", ValueError),
    (winreg.REG_EXPAND_SZ, ["a"], ValueError),
    (winreg.REG_DWORD, "1", ValueError),
    (winreg.REG_DWORD, 1.5, ValueError),
    (winreg.REG_DWORD, -1, OverflowError),
    (winreg.REG_DWORD, 2**32, OverflowError),
    (winreg.REG_QWORD, 2**64, OverflowError),
    (winreg.REG_MULTI_SZ, "a", ValueError),
    (winreg.REG_MULTI_SZ, ["a", 1], ValueError),
    (winreg.REG_BINARY, "text", TypeError),
    (winreg.REG_BINARY, 3, TypeError),
])
def test_data_of_the_wrong_python_type_is_refused(key, kind, written, error):
    with pytest.raises(error):
        winreg.SetValueEx(key, "v", 0, kind, written)
    assert winreg.QueryInfoKey(key)[1] == 0


def test_names_round_trip(key):
    for name in ["", "Ünïcode ✓", "with space", "bad\udcffbyte"]:
        winreg.SetValueEx(key, name, 0, winreg.REG_SZ, name)
        assert winreg.QueryValueEx(key, name) == (name, winreg.REG_SZ)
    winreg.SetValueEx(key, None, 0, winreg.REG_SZ, "default")
    assert winreg.QueryValueEx(key, "")[0] == "default"
    assert winreg.QueryValueEx(key, None)[0] == "default"
    winreg.CreateKey(key, "Sub ✓").Close()
    assert winreg.EnumKey(key, 0) == "Sub ✓"


def test_names_holding_nul_are_refused(key):
    with pytest.raises(ValueError):
        winreg.SetValueEx(key, "a\0b", 0, winreg.REG_SZ, "x")
    with pytest.raises(ValueError):
        winreg.CreateKey(key, "a\0b")


def closed_handle():
    handle = winreg.CreateKey(winreg.HKEY_CURRENT_USER, KEY)
    number = int(handle)
    handle.Close()
    return number


# (call, OSError subclass, winerror)
ERRORS = [
    (lambda k: winreg.OpenKey(k, "Missing"), FileNotFoundError, 2),
    (lambda k: winreg.OpenKeyEx(winreg.HKEY_CURRENT_USER, KEY + r"\Missing"), FileNotFoundError, 2),
    (lambda k: winreg.QueryValueEx(k, "missing"), FileNotFoundError, 2),
    (lambda k: winreg.QueryValue(k, "Missing"), FileNotFoundError, 2),
    (lambda k: winreg.DeleteValue(k, "missing"), FileNotFoundError, 2),
    (lambda k: winreg.DeleteKey(k, "Missing"), FileNotFoundError, 2),
    (lambda k: winreg.DeleteKey(winreg.HKEY_CURRENT_USER, "Software"), PermissionError, 5),
    (lambda k: winreg.EnumKey(k, 0), OSError, 259),
    (lambda k: winreg.EnumValue(k, 0), OSError, 259),
    (lambda k: winreg.SetValueEx(winreg.OpenKey(k, ""), "v", 0, winreg.REG_SZ, "x"), PermissionError, 5),
    (lambda k: winreg.QueryInfoKey(closed_handle()), OSError, 6),
    (lambda k: winreg.ConnectRegistry(r"\\no-such-computer", winreg.HKEY_LOCAL_MACHINE), FileNotFoundError, 53),
    (lambda k: winreg.LoadKey(winreg.HKEY_CURRENT_USER, "Hive", __file__), OSError, 87),
    (lambda k: winreg.LoadKey(winreg.HKEY_USERS, "Hive", __file__), OSError, 1009),
    (lambda k: winreg.SaveKey(k, __file__), FileExistsError, 183),
]


@pytest.mark.parametrize("call, error, winerror", ERRORS)
def test_failures_raise_oserror_with_winerror(key, call, error, winerror):
    with pytest.raises(OSError) as raised:
        call(key)
    assert type(raised.value) is error
    assert raised.value.winerror == winerror
    assert raised.value.strerror


def test_a_saved_hive_loads_and_keeps_changes(key, tmp_path):
    hive = str(tmp_path / "saved.hiv")
    winreg.SetValueEx(key, "v", 0, winreg.REG_MULTI_SZ, ["café", "中"])
    winreg.SaveKey(key, hive)
    winreg.LoadKey(winreg.HKEY_LOCAL_MACHINE, "Loaded", hive)
    with winreg.OpenKey(winreg.HKEY_LOCAL_MACHINE, "Loaded", 0, winreg.KEY_ALL_ACCESS) as loaded:
        assert winreg.QueryValueEx(loaded, "v") == (["café", "中"], winreg.REG_MULTI_SZ)
        winreg.SetValueEx(loaded, "w", 0, winreg.REG_DWORD, 7)
    result = subprocess.run(["hivexget", hive, "\\", "w"], capture_output=True, text=True)
    assert result.stdout == "7\n"


def test_error_is_oserror():
    assert winreg.error is OSError


@pytest.mark.parametrize("call, error", [
    (lambda: winreg.OpenKey("HKEY_CURRENT_USER", "Software"), TypeError),
    (lambda: winreg.OpenKey(winreg.HKEY_CURRENT_USER, 5), TypeError),
    (lambda: winreg.DeleteKey(winreg.HKEY_CURRENT_USER, None), TypeError),
    (lambda: winreg.SetValue(winreg.HKEY_CURRENT_USER, KEY, winreg.REG_DWORD, "1"), TypeError),
    (lambda: winreg.SetValue(winreg.HKEY_CURRENT_USER, KEY, winreg.REG_SZ, 1), TypeError),
    (lambda: winreg.EnumKey(winreg.HKEY_CURRENT_USER, -1), OverflowError),
    (lambda: winreg.DisableReflectionKey(winreg.HKEY_CURRENT_USER), NotImplementedError),
    (lambda: winreg.QueryReflectionKey(winreg.HKEY_CURRENT_USER), NotImplementedError),
])
def test_bad_arguments_raise_as_winreg(call, error):
    with pytest.raises(error):
        call()


def test_key_objects():
    handle = winreg.CreateKey(winreg.HKEY_CURRENT_USER, KEY)
    assert isinstance(handle, winreg.HKEYType) and winreg.HKEYType is winreg.PyHKEY
    assert handle and int(handle) == handle.handle != 0
    with handle as entered:
        assert entered is handle
    assert not handle and handle.handle == 0
    handle.Close()  # closing again raises nothing
    assert handle.Detach() == 0

    handle = winreg.OpenKey(winreg.HKEY_CURRENT_USER, KEY)
    number = handle.Detach()
    assert not handle
    del handle  # detached: the handle stays open
    assert winreg.QueryInfoKey(number)[:2] == (0, 0)
    winreg.CloseKey(number)
    with pytest.raises(OSError):
        winreg.QueryInfoKey(number)


def test_predefined_keys_are_their_winreg_numbers():
    roots = ["HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
             "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"]
    assert [getattr(winreg, name) for name in roots] == list(range(0x80000000, 0x80000007))
    root = winreg.CreateKey(winreg.HKEY_CURRENT_USER, None)
    assert int(root) == winreg.HKEY_CURRENT_USER
    local = winreg.ConnectRegistry(None, winreg.HKEY_LOCAL_MACHINE)
    assert int(local) == winreg.HKEY_LOCAL_MACHINE
    assert winreg.EnumKey(local, 0) == winreg.EnumKey(winreg.HKEY_LOCAL_MACHINE, 0)
    import socket
    assert int(winreg.ConnectRegistry("\\\\" + socket.gethostname(), winreg.HKEY_USERS)) == winreg.HKEY_USERS
    import orvane  # the control's roots are the sign-extended numbers: the same keys
    assert winreg.EnumKey(orvane.HKEY_LOCAL_MACHINE, 0) == winreg.EnumKey(winreg.HKEY_LOCAL_MACHINE, 0)


def test_constants_have_winregs_values():
    assert (winreg.KEY_READ, winreg.KEY_WRITE, winreg.KEY_ALL_ACCESS, winreg.KEY_EXECUTE) == \
        (0x20019, 0x20006, 0xF003F, 0x20019)
    assert (winreg.KEY_WOW64_64KEY, winreg.KEY_WOW64_32KEY) == (0x100, 0x200)
    assert [winreg.REG_NONE, winreg.REG_SZ, winreg.REG_EXPAND_SZ, winreg.REG_BINARY, winreg.REG_DWORD,
            winreg.REG_DWORD_BIG_ENDIAN, winreg.REG_LINK, winreg.REG_MULTI_SZ, winreg.REG_RESOURCE_LIST,
            winreg.REG_FULL_RESOURCE_DESCRIPTOR, winreg.REG_RESOURCE_REQUIREMENTS_LIST,
            winreg.REG_QWORD] == list(range(12))


def test_create_open_delete_and_enumerate(key):
    for name in ["b", "A", "c"]:
        winreg.CreateKeyEx(key, name + r"\Deeper", access=winreg.KEY_ALL_ACCESS).Close()
    assert [winreg.EnumKey(key, i) for i in range(3)] == ["A", "b", "c"]
    with winreg.OpenKeyEx(key, "b", access=winreg.KEY_ALL_ACCESS) as sub:
        winreg.SetValueEx(sub, "n", 0, winreg.REG_DWORD, 1)
        with pytest.raises(PermissionError):
            winreg.DeleteKey(key, "b")
        winreg.DeleteKey(sub, "Deeper")
    winreg.DeleteKey(key, "b")
    winreg.DeleteKeyEx(key, r"c\Deeper", winreg.KEY_WOW64_32KEY)
    winreg.DeleteKeyEx(key, "c")
    assert winreg.QueryInfoKey(key)[0] == 1
    with pytest.raises(FileNotFoundError):
        winreg.OpenKey(key, "b")


def test_query_info_key_counts_and_last_write_time(key):
    before = int((time.time() + 11644473600) * 10**7)
    winreg.SetValueEx(key, "one", 0, winreg.REG_DWORD, 1)
    winreg.SetValueEx(key, "two", 0, winreg.REG_DWORD, 2)
    winreg.CreateKey(key, "Sub").Close()
    after = int((time.time() + 11644473600) * 10**7)
    sub_keys, values, written = winreg.QueryInfoKey(key)
    assert (sub_keys, values) == (1, 2)
    assert before - 10**6 <= written <= after + 10**6  # 100-ns units since 1601


def test_default_values_through_query_value_and_set_value(key):
    assert winreg.QueryValue(key, None) == ""  # no default value: an empty string
    winreg.SetValue(key, r"New\Deeper", winreg.REG_SZ, "made")
    assert winreg.QueryValue(key, r"New\Deeper") == "made"
    assert winreg.QueryValueEx(winreg.OpenKey(key, r"New\Deeper"), "") == ("made", winreg.REG_SZ)
    winreg.SetValue(key, "", winreg.REG_SZ, "own")
    assert winreg.QueryValue(key, "") == "own"
    winreg.DeleteValue(key, None)
    assert winreg.QueryValue(key, None) == ""


@pytest.mark.parametrize("text, expanded", [
    ("%WINREG_A%", "alpha"),
    ("x%WINREG_A%y%WINREG_B%z", "xalphaybetaz"),
    ("%winreg_a%", "alpha"),
    ("%WINREG_UNSET%\\%WINREG_A%", "%WINREG_UNSET%\\alpha"),
    ("100% sure", "100% sure"),
    ("%%", "%%"),
    ("plain", "plain"),
])
def test_expand_environment_strings(monkeypatch, text, expanded):
    monkeypatch.setenv("WINREG_A", "alpha")
    monkeypatch.setenv("WINREG_B", "beta")
    monkeypatch.delenv("WINREG_UNSET", raising=False)
    assert winreg.ExpandEnvironmentStrings(text) == expanded


def test_flush_key(key):
    winreg.SetValueEx(key, "v", 0, winreg.REG_SZ, "kept")
    winreg.FlushKey(key)
    assert winreg.QueryValueEx(key, "v")[0] == "kept"


def test_threads_write_and_read_one_key(key):
    errors = []

    def work(index):
        try:
            with winreg.CreateKey(winreg.HKEY_CURRENT_USER, KEY) as handle:
                for n in range(50):
                    winreg.SetValueEx(handle, "t%d" % index, 0, winreg.REG_DWORD, n)
                    assert winreg.QueryValueEx(handle, "t%d" % index) == (n, winreg.REG_DWORD)
        except Exception as error:  # reported below
            errors.append(error)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert errors == []
    assert sorted(winreg.EnumValue(key, i)[:2] for i in range(8)) == [("t%d" % i, 49) for i in range(8)]


# A program written for Windows: only its import names orvane.
WINDOWS_PROGRAM = r'''
import orvane.winreg as winreg

SETTINGS = r"Software\Example\Settings"


def save(settings):
    with winreg.CreateKeyEx(winreg.HKEY_CURRENT_USER, SETTINGS, 0, winreg.KEY_WRITE) as key:
        for name, value in settings.items():
            if isinstance(value, int):
                winreg.SetValueEx(key, name, 0, winreg.REG_DWORD, value)
            elif isinstance(value, list):
                winreg.SetValueEx(key, name, 0, winreg.REG_MULTI_SZ, value)
            elif isinstance(value, bytes):
                winreg.SetValueEx(key, name, 0, winreg.REG_BINARY, value)
            else:
                winreg.SetValueEx(key, name, 0, winreg.REG_SZ, value)


def load():
    settings = {}
    try:
        key = winreg.OpenKey(winreg.HKEY_CURRENT_USER, SETTINGS)
    except FileNotFoundError:
        return settings
    with key:
        index = 0
        while True:
            try:
                name, value, kind = winreg.EnumValue(key, index)
            except OSError:
                break
            settings[name] = value
            index += 1
    return settings


assert load() == {}
save({"Width": 640, "Title": "Example", "Recent": ["a.txt", "b.txt"], "Blob": b"\x00\x01"})
print(sorted(load().items()))
try:
    winreg.QueryValueEx(winreg.OpenKey(winreg.HKEY_CURRENT_USER, SETTINGS), "Missing")
except OSError as error:
    print("missing", error.winerror)
'''


def test_a_program_written_for_windows_runs_unchanged(store):
    result = subprocess.run([sys.executable, "-c", WINDOWS_PROGRAM], capture_output=True, text=True,
                            env=dict(os.environ, ORVANE_REGISTRY=str(store)), timeout=120)
    assert result.returncode == 0, result.stderr
    assert result.stdout.splitlines() == [
        "[('Blob', b'\\x00\\x01'), ('Recent', ['a.txt', 'b.txt']), ('Title', 'Example'), ('Width', 640)]",
        "missing 2",
    ]
