' A value of every type written, read back and listed; an omitted optional
' argument takes its default.
Option Explicit
Dim q, all, i
Set q = CreateObject("RegistryEditor.Quorvel")
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Values"

Sub WriteRead(name, valueType, value)
  q.ValueName = name
  q.ValueType = valueType
  q.Value = value
  q.SetValue
  q.Value = Empty
  q.GetValue
  WScript.Echo name & ": " & TypeName(q.Value) & " [" & q.Value & "]"
End Sub

WriteRead "Text", 1, "plain text"
WriteRead "Expanded", 2, "%WINDIR%\system32"
WriteRead "Bytes", 3, "00aaFF10"
WriteRead "Number", 4, 2147483647
WriteRead "Negative", 4, -5
WriteRead "Lines", 7, "one" & Chr(0) & "two"
q.ValueName = ""
q.ValueType = 1
q.Value = "the default"
q.SetValue 1
q.Value = ""
q.GetValue
WScript.Echo "default value: [" & q.Value & "]"

all = q.GetAllValues
WScript.Echo "GetAllValues: " & TypeName(all) & " (" & LBound(all, 1) & " To " & UBound(all, 1) & ", " & _
  LBound(all, 2) & " To " & UBound(all, 2) & ")"
For i = LBound(all, 1) To UBound(all, 1)
  WScript.Echo "  " & i & ": [" & all(i, 0) & "] " & all(i, 1)
Next
WScript.Echo "Count values: " & q.Count(0)
WScript.Echo "exists: " & q.VerifyExistence(0) & " " & q.VerifyExistence(1)

On Error Resume Next
q.ValueName = "Unsigned"
q.ValueType = 4
q.Value = 4000000000
q.SetValue
WScript.Echo "above Long: " & Err.Number & " | " & Err.Description & " | " & Err.Source
Err.Clear
q.ValueType = 1
q.ValueName = "Missing"
q.GetValue
WScript.Echo "missing: " & Err.Number & " | " & Err.Description & " | " & Err.Source
Err.Clear
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\NoKey"
q.ValueName = "x"
q.SetValue 1
WScript.Echo "open only: " & Err.Number & " | " & Err.Description
Err.Clear
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript"
q.DeleteKey
WScript.Echo "deleted: " & Err.Number & " " & q.VerifyExistence(1)
WScript.Echo "done"
