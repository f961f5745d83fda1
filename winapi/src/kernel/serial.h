// The serial ports' table: what the kernel knows of COM1..COM4 (name, settings, handle) and the
// simulated hardware behind each (hardware.h), for the Win32 calls (serial.cpp) and for the
// driver that sets the scene.
#ifndef PIKON_WINAPI_SERIAL_H
#define PIKON_WINAPI_SERIAL_H

#include <windows.h>

#include <array>
#include <cstdint>

#include "handles.h"
#include "hardware.h"

namespace winapi {

// The settings of a port no one has set: 9600 baud, 8N1, binary, DTR and RTS control enabled.
DCB FreshSettings();

struct Port {
  const char* name = "";
  DCB settings = FreshSettings();
  HANDLE open = nullptr;  // the handle while the port is open
  sim::PortHardware hw;   // what is behind the port
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
// The adapter pulled out of the machine: handles opened before fail for good.
void PullOut(Port& p);

}  // namespace winapi

#endif
