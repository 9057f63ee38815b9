' Keys: GetAllKeys and Find walked with LBound and UBound, the path of
' RenameKey written back into the caller's variable, named arguments.
Option Explicit
Dim q, keys, found, i, j, path, row
Set q = CreateObject("RegistryEditor.Quorvel")
For Each path In Array("Gamma", "Alpha", "Beta\Inner")
  q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Tree\" & path
  q.SetKey
Next
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Tree\Alpha"
q.ValueName = "Note"
q.Value = "find me"
q.SetValue

q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Tree"
keys = q.GetAllKeys
WScript.Echo "GetAllKeys: " & LBound(keys) & " To " & UBound(keys)
For i = LBound(keys) To UBound(keys)
  WScript.Echo "  " & keys(i)
Next
WScript.Echo "Count sub keys: " & q.Count(1) & ", with descendants: " & q.Count(1, 1)

found = q.Find("find", 1, True, True, True)
WScript.Echo "Find: " & TypeName(found) & " (" & LBound(found, 1) & " To " & UBound(found, 1) & ", " & _
  LBound(found, 2) & " To " & UBound(found, 2) & ")"
For i = LBound(found, 1) To UBound(found, 1)
  row = "  " & i & ":"
  For j = LBound(found, 2) To UBound(found, 2)
    row = row & " [" & found(i, j) & "]"
  Next
  WScript.Echo row
Next

q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Tree\Gamma"
path = "Delta"
q.RenameKey path
WScript.Echo "RenameKey path written back: [" & path & "]"
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Tree"
keys = q.GetAllKeys
For i = LBound(keys) To UBound(keys)
  WScript.Echo "  " & keys(i)
Next

On Error Resume Next
q.CopyKey &H80000001, "Software\OrvaneScript\Tree\Alpha\Copy"
WScript.Echo "copy into itself: " & Err.Number & " | " & Err.Description
Err.Clear
q.DeleteKey
WScript.Echo "cleaned: " & Err.Number
WScript.Echo "done"
