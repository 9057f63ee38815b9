// IDispatch over the control's dispatch table: identifiers of member and
// parameter names (ignoring letter case), and Invoke with positional and
// named arguments, omitted optional arguments, by-reference write-back and
// the control's errors as DISP_E_EXCEPTION.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "orvane/error.h"
#include "orvane/quorvel.h"

namespace orvane::com {

// names[0] is a member, the rest its parameters; a parameter's identifier
// is its position. Unknown names get DISPID_UNKNOWN and DISP_E_UNKNOWNNAME.
HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids);

// One late-bound call. The caller holds the control lock. An error raised
// by the control or by argument conversion fills `exception` (when given)
// and returns DISP_E_EXCEPTION; without `exception` the error's HRESULT is
// returned. Either way the error is also set with SetErrorInfo.
HRESULT InvokeMember(Quorvel& control, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* exception, UINT* arg_error);

// MAKE_HRESULT(1, FACILITY_CONTROL, number): how a numbered error travels.
HRESULT ErrorResult(const ErrorRecord& record);

// Sets `record` with SetErrorInfo and returns ErrorResult(record): an error
// of a call that has no EXCEPINFO.
HRESULT RaisedResult(const ErrorRecord& record);

}  // namespace orvane::com
