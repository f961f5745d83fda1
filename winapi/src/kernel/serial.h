// The serial ports' table: what the kernel knows of COM1..COM4 and the hardware behind each, for
// the Win32 calls (serial.cpp) and for the driver that sets the scene.
#ifndef PIKON_WINAPI_SERIAL_H
#define PIKON_WINAPI_SERIAL_H

#include <windows.h>

#include <array>
#include <cstdint>

#include "handles.h"
#include "portsim.h"
#include "simmodule.h"

namespace winapi {

// The settings of a port no one has set: 9600 baud, 8N1, binary, DTR and RTS control enabled.
DCB FreshSettings();

struct Port {
  const char* name = "";
  sim::PortKind kind = sim::PortKind::Absent;
  DCB settings = FreshSettings();
  HANDLE open = nullptr;  // the handle while the port is open
  bool rts = false, dtr = false, brk = false;  // as the device behind the port sees them
  bool rtsWanted = false;  // as the program last set RTS (the device may not have it yet)
  sim::PortBehaviour behaviour = sim::LegacyUart(1);
  DWORD reported = 0;           // the status as the adapter last reported it
  std::uint64_t reportDue = 0;  // the number of that report's refresh interval
  SimModule module;
  sim::Faults faults;
  bool faulted = false;  // faults were set: status reads take the long way
  int reads = 0;  // status reads since the faults were set
  bool pulledOut = false;  // the adapter is out of the machine: the port does not exist

  bool HasModule() const { return kind == sim::PortKind::Module; }
};

struct OpenPort {
  int index;             // 0..3
  bool removed = false;  // its adapter was pulled out: the device it was opened on is gone
};

struct PortTable {
  std::array<Port, 4> ports;
  HandleTable<OpenPort, HandleKind::Port> handles;
  PortTable() {
    static const char* const names[4] = {"COM1", "COM2", "COM3", "COM4"};
    for (int i = 0; i < 4; ++i) ports[i].name = names[i];
  }
};

PortTable& Table();
// Port 1..4.
Port& PortNo(int port);
// The status lines the hardware drives now.
DWORD LiveStatus(const Port& p);
// The adapter pulled out of the machine: handles opened before fail for good.
void PullOut(Port& p);

}  // namespace winapi

#endif
