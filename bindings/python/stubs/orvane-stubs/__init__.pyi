# Type stubs of the extension module orvane (installed as the stub-only
# package orvane-stubs beside it, so that orvane.winreg has its own stub).
# The Quorvel members follow the control's member table; a test checks
# that every public name of the module is declared here.
import enum
from typing import Any, Iterable, Sequence

from . import winreg as winreg

__version__: str

Variant = Any  # str, int, float, bool, None, Null, Array, Table; with typed=True also bytes, list[str]

class NullType: ...

Null: NullType

class ByRef:
    value: Any
    def __init__(self, value: Any = None) -> None: ...

class Array(list[Any]):
    lower: int
    def __init__(self, items: Iterable[Any] = (), lower: int = 0) -> None: ...

class Table(list[list[Any]]):
    lower_bounds: tuple[int, int]
    def __init__(self, rows: Iterable[Sequence[Any]] = (), lower_bounds: tuple[int, int] = (0, 0)) -> None: ...

class RegistryError(OSError):
    number: int
    description: str
    source: str
    helpfile: str
    helpcontext: int
    def __init__(self, number: int, description: str, source: str = "", helpfile: str = "",
                 helpcontext: int = 0) -> None: ...

class RegistryOverflowError(RegistryError, OverflowError): ...
class RegistryTypeError(RegistryError, TypeError): ...
class RegistryIndexError(RegistryError, IndexError): ...

class DialogStyle:
    Batch: DialogStyle
    Silent: DialogStyle
    Interactive: DialogStyle
    Auto: DialogStyle
    def __int__(self) -> int: ...

class QVCountMode(enum.IntEnum):
    ExcludeSubKeys = 0
    IncludeSubKeys = 1

class QVCountType(enum.IntEnum):
    CountValues = 0
    CountSubKeys = 1

class QVFindMode(enum.IntEnum):
    WholeString = 0
    PartialString = 1

class QVOpenMode(enum.IntEnum):
    OpenAndCreate = 0
    OpenOnly = 1

class QVSysInfo(enum.IntEnum):
    OS = 0
    ProductID = 1
    VersionNumber = 2
    RegisteredOwner = 3
    RegisteredOrganization = 4
    WinDir = 5
    SysDir = 6
    TempDir = 7
    ProgramFilesDir = 8
    CommonFilesDir = 9
    ComputerName = 10
    UserName = 11
    UserLanguage = 12

class QVVerifyType(enum.IntEnum):
    VerifyValueName = 0
    VerifyKey = 1

class defHKey(enum.IntEnum):
    HKEY_CLASSES_ROOT = -2147483648
    HKEY_CURRENT_USER = -2147483647
    HKEY_LOCAL_MACHINE = -2147483646
    HKEY_USERS = -2147483645
    HKEY_CURRENT_CONFIG = -2147483643
    HKEY_DYN_DATA = -2147483642

class defValueType(enum.IntEnum):
    StringType = 1
    ExpandedStringType = 2
    BinaryType = 3
    DWordType = 4
    MultiStringType = 7

BinaryType: defValueType
CommonFilesDir: QVSysInfo
ComputerName: QVSysInfo
CountSubKeys: QVCountType
CountValues: QVCountType
DWordType: defValueType
ExcludeSubKeys: QVCountMode
ExpandedStringType: defValueType
HKEY_CLASSES_ROOT: defHKey
HKEY_CURRENT_CONFIG: defHKey
HKEY_CURRENT_USER: defHKey
HKEY_DYN_DATA: defHKey
HKEY_LOCAL_MACHINE: defHKey
HKEY_USERS: defHKey
IncludeSubKeys: QVCountMode
MultiStringType: defValueType
OS: QVSysInfo
OpenAndCreate: QVOpenMode
OpenOnly: QVOpenMode
PartialString: QVFindMode
ProductID: QVSysInfo
ProgramFilesDir: QVSysInfo
RegisteredOrganization: QVSysInfo
RegisteredOwner: QVSysInfo
StringType: defValueType
SysDir: QVSysInfo
TempDir: QVSysInfo
UserLanguage: QVSysInfo
UserName: QVSysInfo
VerifyKey: QVVerifyType
VerifyValueName: QVVerifyType
VersionNumber: QVSysInfo
WholeString: QVFindMode
WinDir: QVSysInfo

class Quorvel:
    def __init__(self, *, dialogs: DialogStyle = ..., about: bool = False, typed: bool = False) -> None: ...
    def AboutBox(self) -> None: ...
    def AddExtCommand(self, Extension: str | ByRef, CommandName: str | ByRef, CommandDescription: str | ByRef, Command: str | ByRef, Predefined: bool | ByRef = ..., Overwrite: bool | ByRef = ...) -> None: ...
    def Backup(self) -> None: ...
    def CopyKey(self, NewhKey: int | ByRef, NewKeyPath: str | ByRef) -> None: ...
    def CopyValue(self, NewhKey: int | ByRef, NewKeyPath: str | ByRef, NewValueName: str | ByRef) -> None: ...
    def Count(self, CountType: int | ByRef, CountMode: int | ByRef = ...) -> int: ...
    def DelExtCommand(self, Extension: str | ByRef, CommandName: str | ByRef) -> None: ...
    def DeleteKey(self) -> None: ...
    def DeleteValue(self) -> None: ...
    def Export(self, PathName: str | ByRef, AllRegistry: bool | ByRef = ..., Comment: str | ByRef = ...) -> None: ...
    def Find(self, StringToFind: str | ByRef, FindMode: int | ByRef, FindKeyPath: bool | ByRef, FindValueName: bool | ByRef, FindValue: bool | ByRef, Reserved: Variant = ..., AllRegistry: bool | ByRef = ..., ProgressBarHWnd: int | ByRef = ...) -> Variant: ...
    def ForceWriting(self) -> None: ...
    def GetAllKeys(self) -> Variant: ...
    def GetAllValues(self) -> Variant: ...
    def GetValue(self) -> None: ...
    GlobalKeyPath: str
    def Import(self, PathName: str | ByRef) -> None: ...
    def LastAction(self) -> int: ...
    def MoveKey(self, NewhKey: int | ByRef, NewKeyPath: str | ByRef) -> None: ...
    def MoveValue(self, NewhKey: int | ByRef, NewKeyPath: str | ByRef, NewValueName: str | ByRef) -> None: ...
    def RegisterExtension(self, Extension: str | ByRef, Description: str | ByRef, DefaultIcon: str | ByRef, Overwrite: bool | ByRef = ...) -> None: ...
    def RenameKey(self, NewKeyPath: str | ByRef) -> None: ...
    def RenameValue(self, NewValueName: str | ByRef) -> None: ...
    def Replace(self, StringToFind: str | ByRef, ReplaceWith: str | ByRef, FindMode: int | ByRef, FindKeyPath: bool | ByRef, FindValueName: bool | ByRef, FindValue: bool | ByRef, Reserved: Variant = ..., AllRegistry: bool | ByRef = ..., ProgressBarHWnd: int | ByRef = ...) -> int: ...
    def Restore(self) -> None: ...
    def SetAllKeys(self, KeyArray: Variant) -> None: ...
    def SetAllValues(self, ValueArray: Variant, SetMode: int | ByRef = ...) -> None: ...
    def SetKey(self) -> None: ...
    def SetValue(self, SetMode: int | ByRef = ...) -> None: ...
    SubKeyPath: str
    def SystemInfo(self, InfoType: int | ByRef) -> str: ...
    def Undo(self, UndoSteps: int | ByRef = ...) -> None: ...
    UndoEnabled: bool
    def UnregisterExtension(self, Extension: str | ByRef) -> None: ...
    Value: Variant
    ValueName: str
    ValueType: int
    def VerifyExistence(self, VerifyType: int | ByRef) -> bool: ...
    hKey: int

def select_store(file: str | bytes | Any) -> None: ...
def store_path() -> Any: ...
