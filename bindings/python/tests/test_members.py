# Properties as attributes, methods with the member table's keyword
# arguments and defaults, and values of every shape.
import pytest

import orvane


def test_properties_are_attributes(control):
    control.GlobalKeyPath = "hkey_local_machine\\Software\\"
    assert control.GlobalKeyPath == "HKEY_LOCAL_MACHINE\\Software"
    assert control.hKey == orvane.HKEY_LOCAL_MACHINE
    assert control.SubKeyPath == "Software"
    control.hKey = orvane.defHKey.HKEY_CURRENT_USER
    assert control.GlobalKeyPath == "HKEY_CURRENT_USER\\Software"


def test_a_value_written_by_one_control_is_read_by_another(control):
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Demo"
    control.ValueName = "Size"
    control.ValueType = orvane.DWordType
    control.Value = 42
    control.SetValue()
    reader = orvane.Quorvel()
    reader.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Demo"
    reader.ValueName = "Size"
    reader.GetValue()
    assert reader.Value == 42 and type(reader.Value) is int


def test_keyword_arguments_use_the_member_tables_names(control):
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Missing"
    control.ValueName = "x"
    control.Value = "text"
    with pytest.raises(orvane.RegistryError) as raised:
        control.SetValue(SetMode=orvane.QVOpenMode.OpenOnly)
    assert raised.value.number == 60002
    assert not control.VerifyExistence(VerifyType=orvane.VerifyKey)
    control.SetValue()  # the default mode opens and creates
    assert control.VerifyExistence(VerifyType=orvane.VerifyKey)
    assert control.VerifyExistence(orvane.VerifyValueName)
    with pytest.raises(TypeError):
        control.SetValue(Mode=0)
    with pytest.raises(TypeError):
        control.SetValue(0, SetMode=0)


def test_empty_is_none_and_strings_round_trip(control):
    control.Value = None
    assert control.Value is None
    control.Value = orvane.Null
    assert control.Value is orvane.Null
    control.Value = "Grüße"
    assert control.Value == "Grüße"


def test_arrays_are_lists_and_tables_lists_of_rows_with_their_bounds(control):
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Shapes"
    control.SetKey()
    keys = ["A", "B"]
    assert control.SetAllKeys(keys) is None
    assert keys == ["Software\\Shapes\\A", "Software\\Shapes\\B"]
    listed = control.GetAllKeys()
    assert isinstance(listed, list) and isinstance(listed, orvane.Array)
    assert sorted(listed) == ["A", "B"]
    control.ValueName = "n"
    control.ValueType = orvane.DWordType
    control.Value = 7
    control.SetValue()
    table = control.GetAllValues()
    assert isinstance(table, orvane.Table)
    assert table == [["n", 7, orvane.DWordType]] and table.lower_bounds == (0, 0)
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Shapes\\Copy"
    control.SetAllValues(orvane.Table([["m", 8, 4]], lower_bounds=(3, 0)))
    assert control.GetAllValues() == [["m", 8, 4]]
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Shapes"
    box = orvane.ByRef(orvane.Array(["C", "D"], lower=3))
    control.SetAllKeys(box)
    assert box.value == ["Software\\Shapes\\C", "Software\\Shapes\\D"] and box.value.lower == 3


def test_methods_document_their_parameters():
    assert orvane.Quorvel.SetValue.__doc__.startswith("SetValue(SetMode=")
    assert "CountType" in orvane.Quorvel.Count.__doc__


def test_by_reference_results_reach_the_caller_through_a_box(control):
    extension = orvane.ByRef("qvx")
    control.RegisterExtension(extension, "Quorvel file", "icon.ico")
    assert extension.value == ".qvx"
    plain = "qvy"
    control.RegisterExtension(Extension=plain, Description="d", DefaultIcon="i")
    assert plain == "qvy"  # a str cannot change; only a box receives the result
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Old"
    control.SetKey()
    renamed = orvane.ByRef("New")
    control.RenameKey(renamed)
    assert renamed.value == "Software\\New"


def test_every_member_states_its_data_forms():
    for name in (n for n in dir(orvane.Quorvel) if not n.startswith("_")):
        member = getattr(orvane.Quorvel, name)
        doc = member.__doc__
        if isinstance(member, property):
            assert "\n\nData: " in doc, name
        else:
            assert doc.startswith(name + "(") and "\nReturns: " in doc, name
    assert "CountType: int (orvane.QVCountType)" in orvane.Quorvel.Count.__doc__
    assert "BinaryType hexadecimal text" in orvane.Quorvel.Value.__doc__
