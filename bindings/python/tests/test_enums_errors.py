# Enumerations with the type library's numbers, and the control's errors as
# Python exceptions.
import enum

import pytest

import orvane


def test_enumerations_compare_equal_to_their_numbers():
    assert issubclass(orvane.defHKey, enum.IntEnum)
    assert orvane.defHKey.HKEY_CURRENT_USER == -2147483647
    assert orvane.HKEY_LOCAL_MACHINE == -2147483646
    assert orvane.defValueType.MultiStringType == 7
    assert orvane.QVSysInfo.UserLanguage == 12
    assert orvane.QVOpenMode.OpenOnly == 1 and orvane.OpenOnly is orvane.QVOpenMode.OpenOnly


def test_a_numbered_error_carries_its_record(control):
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Nothing"
    with pytest.raises(orvane.RegistryError) as raised:
        control.DeleteKey()
    error = raised.value
    assert isinstance(error, OSError) and error.args[0] == 60002
    assert error.number == 60002
    assert error.description
    assert error.source
    assert error.helpfile.endswith("Orvanex.hlp")
    assert error.helpcontext != 0


def test_runtime_errors_are_the_matching_python_exceptions(control):
    with pytest.raises(OverflowError) as overflow:
        control.ValueType = 2**40
    assert isinstance(overflow.value, orvane.RegistryError) and overflow.value.number == 6
    with pytest.raises(TypeError) as mismatch:
        control.ValueType = "four"
    assert mismatch.value.number == 13
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Table"
    with pytest.raises(IndexError) as subscript:
        control.SetAllValues([["a name without data or type"]])
    assert subscript.value.number == 9


def test_a_value_python_cannot_pass_is_a_type_error(control):
    with pytest.raises(TypeError):
        control.Value = object()
