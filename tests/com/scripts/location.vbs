' The location properties, read and assigned late bound, and their errors.
Option Explicit
Dim q
Set q = CreateObject("RegistryEditor.Quorvel")
WScript.Echo "start: " & q.GlobalKeyPath & " | " & Hex(q.hKey) & " | [" & q.SubKeyPath & "]"
q.GlobalKeyPath = "hkey_local_machine\\Software\\Microsoft\"
WScript.Echo "global: " & q.GlobalKeyPath & " | " & Hex(q.hKey) & " | " & q.SubKeyPath
q.hKey = &H80000001
WScript.Echo "hKey: " & q.GlobalKeyPath
q.SUBKEYPATH = "\Software\\Orvane\"
WScript.Echo "sub key (any case): " & q.subkeypath & " | " & q.GlobalKeyPath
q.ValueName = "  Counter  "
q.ValueType = 4
WScript.Echo "value: [" & q.ValueName & "] " & q.ValueType & " " & TypeName(q.Value) & " " & q.Value
q.UndoEnabled = True
WScript.Echo "undo: " & q.UndoEnabled
q.UndoEnabled = False

On Error Resume Next
q.GlobalKeyPath = "HKEY_NOWHERE\Software"
WScript.Echo "bad root: " & Err.Number & " | " & Err.Description & " | " & Err.Source & " | " & Err.HelpContext
Err.Clear
q.hKey = &H80000006
WScript.Echo "dyn data: " & Err.Number & " | " & Err.Description & " | " & Err.Source
Err.Clear
q.ValueType = 4
q.Value = 4294967296
WScript.Echo "too big: " & Err.Number & " | " & Err.Description & " | " & Err.Source
Err.Clear
q.hKey = "not a number"
WScript.Echo "mismatch: " & Err.Number & " | " & Err.Description
Err.Clear
q.hKey = 1E+20
WScript.Echo "overflow: " & Err.Number & " | " & Err.Description
Err.Clear
q.NoSuchMember = 1
WScript.Echo "unknown member: " & Err.Number
Err.Clear
WScript.Echo "after errors: " & q.GlobalKeyPath
WScript.Echo "done"
