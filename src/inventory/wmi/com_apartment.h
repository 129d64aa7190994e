#pragma once

#include "win32/com_owners.h"

namespace quorvane::wmi {

// COM on the calling thread, single-threaded apartment, for as long as this
// object lives. Everything that holds a COM pointer obtained under it must go
// first, so the WMI objects keep it alive through a shared_ptr.
class ComApartment {
public:
    // Throws the Platform error when COM cannot be initialised. A thread
    // already in the multithreaded apartment is used as it is.
    ComApartment();

private:
    win32::unique_couninitialize_call uninitialize_;
};

// Sets the process's default COM security so that WMI may impersonate the
// caller. Once per process; a second call, or one after COM has already
// chosen its security (RPC_E_TOO_LATE), leaves the existing settings alone.
void InitializeComSecurity();

}  // namespace quorvane::wmi
