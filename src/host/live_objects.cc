#include "host/live_objects.h"

#include <atomic>

namespace orv::host {
namespace {
std::atomic<long> g_live{0};
}  // namespace

long LiveObjects::Count() { return g_live.load(); }

LiveObjects::Token::Token() { ++g_live; }
LiveObjects::Token::Token(const Token&) { ++g_live; }
LiveObjects::Token::~Token() { --g_live; }

}  // namespace orv::host
