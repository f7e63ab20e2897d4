#include "rdb/com_apartment.h"

#include <objbase.h>

namespace velinst {

CComApartment::CComApartment() {
  // S_FALSE: already initialised on this thread, which still takes one
  // release; RPC_E_CHANGED_MODE (another apartment) takes none.
  const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  entered_ = result == S_OK || result == S_FALSE;
}

CComApartment::~CComApartment() {
  if (entered_) ::CoUninitialize();
}

}  // namespace velinst
