' A recorded change taken back with Undo.
Option Explicit
Dim q
Set q = CreateObject("RegistryEditor.Quorvel")
q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript\Undo"
q.SetKey
q.UndoEnabled = True
q.ValueName = "Temporary"
q.Value = "recorded"
q.SetValue
WScript.Echo "written: " & q.VerifyExistence(0) & ", last action " & q.LastAction
q.Undo
WScript.Echo "after Undo: " & q.VerifyExistence(0)
On Error Resume Next
q.Undo
WScript.Echo "nothing left: " & Err.Number & " | " & Err.Description
Err.Clear
On Error Goto 0
q.UndoEnabled = False

q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript"
q.DeleteKey
WScript.Echo "done"
