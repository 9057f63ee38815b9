' A key exported to a file by the editor installed beside the server: the
' file is REGEDIT4 text with the comment header after its first line.
Option Explicit
Dim q, fso, file, text
Set q = CreateObject("RegistryEditor.Quorvel")
Set fso = CreateObject("Scripting.FileSystemObject")
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Export"
q.ValueName = "Kept"
q.Value = "exported"
q.SetValue
file = fso.GetSpecialFolder(2) & "\orvane-export"
q.Export file, , "first line|second line"
WScript.Echo "Export: " & Err.Number
Set text = fso.OpenTextFile(file & ".reg")
Do Until text.AtEndOfStream
  WScript.Echo "| " & text.ReadLine
Loop
text.Close
fso.DeleteFile file & ".reg"
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript"
q.DeleteKey
WScript.Echo "done"
