// How the ledger attaches to the subset's trace, for drv::Attach (session.h, script.cpp).
#ifndef PIKON_WINAPI_DRIVER_ATTACH_H
#define PIKON_WINAPI_DRIVER_ATTACH_H

namespace drv {

void AttachLedger();

}  // namespace drv

#endif
