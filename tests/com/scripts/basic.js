// The control from JScript: properties, a method with a result, an error.
var q = new ActiveXObject("RegistryEditor.Quorvel");
q.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\OrvaneScript\\JS";
q.SetKey();
WScript.Echo("key: " + q.GlobalKeyPath + " exists " + q.VerifyExistence(1));
q.ValueName = "Answer";
q.ValueType = 4;
q.Value = 42;
q.SetValue();
q.Value = 0;
q.GetValue();
WScript.Echo("value: " + q.Value + " " + typeof q.Value);
try {
  q.Undo();
} catch (e) {
  WScript.Echo("error: " + (e.number & 0xFFFF) + " " + e.description);
}
try {
  q.SetAllKeys({ first: "A" });  // an object, not an array
} catch (e) {
  WScript.Echo("object as key array: " + (e.number & 0xFFFF));
}
q.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\OrvaneScript";
q.DeleteKey();
WScript.Echo("deleted: " + q.VerifyExistence(1));
WScript.Echo("done");
