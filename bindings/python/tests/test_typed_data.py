# A control made with typed=True takes and gives bytes and lists of str;
# one made without keeps the text forms.
import pytest

import orvane

KEY = "HKEY_CURRENT_USER\\Software\\Typed"

# registry type, typed data, text form of GetValue, text form of GetAllValues
FORMS = [
    (orvane.BinaryType, b"\x01\x02\xff", "0102ff", "0102FF"),
    (orvane.BinaryType, b"", "", ""),
    (orvane.MultiStringType, ["a", "", "b c"], "a||b c", "a||b c"),
    (orvane.MultiStringType, [], "", ""),
    (orvane.DWordType, 7, 7, 7),
    (orvane.StringType, "x", "x", "x"),
]


def reader(typed):
    control = orvane.Quorvel(typed=typed)
    control.GlobalKeyPath = KEY
    control.ValueName = "v"
    return control


@pytest.mark.parametrize("value_type, typed, text, listed", FORMS)
def test_typed_data_round_trips_and_text_forms_stay(value_type, typed, text, listed):
    writer = reader(True)
    writer.ValueType = value_type
    writer.Value = typed
    assert writer.Value == typed
    writer.SetValue()
    typed_reader, text_reader = reader(True), reader(False)
    for control in (typed_reader, text_reader):
        control.ValueType = orvane.ExpandedStringType
        control.GetValue()
    assert (typed_reader.ValueType, typed_reader.Value) == (value_type, typed)
    assert type(typed_reader.Value) is type(typed)
    assert (text_reader.ValueType, text_reader.Value) == (orvane.ExpandedStringType, text)
    assert typed_reader.GetAllValues() == [["v", typed, value_type]]
    assert text_reader.GetAllValues() == [["v", listed, value_type]]


def test_typed_rows_are_written_and_read_back():
    rows = [["b", b"\x00\x10", orvane.BinaryType], ["m", ["x", "y"], orvane.MultiStringType], ["n", "z", 1]]
    control = reader(True)
    control.SetAllValues(orvane.Table(rows, lower_bounds=(5, 0)))
    assert sorted(control.GetAllValues()) == rows
    assert sorted(reader(False).GetAllValues()) == [["b", "0010", 3], ["m", "x|y", 7], ["n", "z", 1]]


@pytest.mark.parametrize("value_type, given, held", [
    (orvane.BinaryType, "0aFF", b"\x0a\xff"),
    (orvane.BinaryType, bytearray(b"\x0a"), b"\x0a"),
    (orvane.MultiStringType, "a|b", ["a", "b"]),
    (orvane.MultiStringType, ("a", "b"), ["a", "b"]),
])
def test_a_typed_control_takes_the_text_forms_too(value_type, given, held):
    control = reader(True)
    control.ValueType = value_type
    control.Value = given
    assert control.Value == held


@pytest.mark.parametrize("given, raised", [(["a|b"], ValueError), (["a\0b"], ValueError), (["a", 1], TypeError)])
def test_entries_without_a_text_form_are_refused(given, raised):
    control = reader(True)
    control.ValueType = orvane.MultiStringType
    with pytest.raises(raised):
        control.Value = given
    assert control.Value == []


@pytest.mark.parametrize("typed, empty", [(True, []), (False, None)])
def test_no_sub_keys_or_values_is_an_empty_list_only_when_typed(typed, empty):
    control = reader(typed)
    control.SetKey()
    assert control.GetAllKeys() == empty and control.GetAllValues() == empty
    if typed:
        assert isinstance(control.GetAllKeys(), orvane.Array) and isinstance(control.GetAllValues(), orvane.Table)
