// Network interfaces (Sx_NetworkAdapter): every interface the kernel has but
// the loopback, physical and virtual, with its hardware names, MAC address,
// link speed and state.
#pragma once

#include "DeviceFacts.h"

#include <memory>

namespace sentinax {

// "Ethernet 802.3", "Wireless", ... for the kernel's ARPHRD type number.
std::string AdapterTypeName(uint64_t arphrdType, bool wireless);

std::unique_ptr<InventoryClass> MakeNetworkAdapterClass(InventoryContext context);

} // namespace sentinax
