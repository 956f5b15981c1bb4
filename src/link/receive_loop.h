// A receive thread's loop: datagrams of one socket, checked by its channel's rules, into its queue.
#pragma once

#include "link/event_fd.h"
#include "link/message_types.h"
#include "link/packet_queue.h"

// Runs until stop is signalled. Waits for the socket and stop together, takes every datagram that
// is ready, keeps those that pass the channel's acceptance rules and appends them in one batch.
// A failed receive or a rejected datagram is dropped without a trace.
void RunReceiveLoop(int socketFd, ApChannel channel, CPacketQueue& queue, const CEventFd& stop);
