' The remaining members, each called late bound once: bulk writes, value
' and key transfers, replace, import, system information, file types.
Option Explicit
Dim q, fso, all, i, base, file, stream, info, rows(1, 2)

' The elements of a one-dimensional array, joined by blanks.
Function Listed(items)
  Dim item
  Listed = ""
  For Each item In items
    Listed = Listed & " " & item
  Next
End Function

Set q = CreateObject("RegistryEditor.Quorvel")
Set fso = CreateObject("Scripting.FileSystemObject")
base = "HKEY_CURRENT_USER\Software\OrvaneScript\Members"

q.GlobalKeyPath = base
q.SetAllKeys Array("K1", "K2", "K3")
all = q.GetAllKeys
WScript.Echo "SetAllKeys:" & Listed(all)
' One row per value: name, data, type (as GetAllValues returns them).
rows(0, 0) = "One" : rows(0, 1) = "first" : rows(0, 2) = 1
rows(1, 0) = "Two" : rows(1, 1) = 2 : rows(1, 2) = 4
q.SetAllValues rows
all = q.GetAllValues
For i = LBound(all, 1) To UBound(all, 1)
  WScript.Echo "SetAllValues: [" & all(i, 0) & "] " & all(i, 1) & " type " & all(i, 2)
Next
q.ForceWriting
WScript.Echo "ForceWriting: " & Err.Number

q.ValueName = "One"
q.CopyValue &H80000001, "Software\OrvaneScript\Members\K1", "OneCopy"
q.MoveValue &H80000001, "Software\OrvaneScript\Members\K2", "OneMoved"
WScript.Echo "CopyValue, MoveValue: " & q.VerifyExistence(0)
q.GlobalKeyPath = base & "\K2"
q.ValueName = "OneMoved"
q.RenameValue "OneRenamed"
q.ValueName = "OneRenamed"
q.GetValue
WScript.Echo "RenameValue: " & q.Value
q.DeleteValue
WScript.Echo "DeleteValue: " & q.VerifyExistence(0)
q.GlobalKeyPath = base & "\K3"
q.MoveKey &H80000001, "Software\OrvaneScript\Members\K1\K3"
q.GlobalKeyPath = base & "\K1"
WScript.Echo "MoveKey:" & Listed(q.GetAllKeys)

q.GlobalKeyPath = base
WScript.Echo "Replace: " & q.Replace("first", "last", 1, False, False, True)
q.GlobalKeyPath = base
q.ValueName = "One"
WScript.Echo "Replace: " & q.Replace("first", "last", 1, False, False, True)

file = fso.GetSpecialFolder(2) & "\orvane-import.reg"
Set stream = fso.CreateTextFile(file, True)
stream.WriteLine "REGEDIT4"
stream.WriteLine ""
stream.WriteLine "[" & base & "\Imported]"
stream.WriteLine """Name""=""from a file"""
stream.Close
q.Import file
' The editor runs on its own: wait until its key is there (Wine's
' WScript.Sleep does nothing, so the wait is a bounded loop of look-ups).
q.GlobalKeyPath = base & "\Imported"
For i = 1 To 100000
  If q.VerifyExistence(1) Then Exit For
Next
q.ValueName = "Name"
q.GetValue
WScript.Echo "Import: " & q.Value
fso.DeleteFile file

info = q.SystemInfo(5)
WScript.Echo "SystemInfo WinDir: " & info
WScript.Echo "SystemInfo OS: " & (Len(q.SystemInfo(0)) > 0)

q.RegisterExtension ".orvtest", "Orvane test file", "C:\icon.ico"
'' AddExtCommand takes the extension without its dot.
q.AddExtCommand "orvtest", "open", "&Open", "notepad.exe ""%1"""
q.GlobalKeyPath = "HKEY_CLASSES_ROOT\.orvtest"
WScript.Echo "RegisterExtension: " & q.VerifyExistence(1)
q.DelExtCommand ".orvtest", "open"
q.UnregisterExtension ".orvtest"
WScript.Echo "UnregisterExtension: " & q.VerifyExistence(1)

q.GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneScript"
q.DeleteKey
WScript.Echo "done"
