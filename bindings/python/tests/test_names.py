# A NUL inside a name, key path or file name: Python strings carry it, the
# registry's and the file system's C strings would end the name there, so
# it is refused before anything is touched.
import pytest

import orvane


@pytest.fixture
def keys(control):
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\N3"
    control.ValueName = "keep"
    control.Value = "kept"
    control.SetValue()
    return control


def raises_number(number, call, *args):
    with pytest.raises(orvane.RegistryError) as raised:
        call(*args)
    assert raised.value.number == number


def test_registry_names_holding_a_nul_are_refused(keys):
    raises_number(60007, setattr, keys, "ValueName", "keep\0junk")
    keys.Value = "overwritten"
    keys.SetValue()  # still the value "keep": the name was not taken
    raises_number(60007, setattr, keys, "ValueName", "keep\0x")
    raises_number(60007, setattr, keys, "GlobalKeyPath", "HKEY_CURRENT_USER\\Software\\T\0zzz")
    raises_number(60007, keys.CopyKey, orvane.HKEY_CURRENT_USER, "Software\\N2\0x")
    raises_number(60007, keys.RenameKey, "N3\0t")
    raises_number(60007, keys.RenameValue, "keep\0x")
    reader = orvane.Quorvel()
    reader.GlobalKeyPath = "HKEY_CURRENT_USER\\Software"
    assert reader.GetAllKeys() == ["N3"]
    reader.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\N3"
    assert reader.GetAllValues() == [["keep", "overwritten", 1]]


def test_file_names_holding_a_nul_are_refused(keys, tmp_path):
    important = tmp_path / "important"
    important.write_text("precious")
    raises_number(75, keys.Export, str(important) + "\0.reg")
    raises_number(75, keys.Import, str(important) + "\0.reg")
    assert important.read_text() == "precious"
    with pytest.raises(TypeError):  # the path conversion refuses it
        orvane.select_store(str(tmp_path / "other.db") + "\0x")
