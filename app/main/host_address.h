// Whether the computer's own host name resolves to an address other than loopback.
#pragma once

bool hasNetworkAddress();
