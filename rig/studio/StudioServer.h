// `vistrel-rig serve`: the studio's web server. Serves the built-in page
// and the JSON API over the StudioSession, on the loopback address unless
// told otherwise, and only to requests that name this server in their Host
// header (a page from elsewhere whose name resolves here, DNS rebinding,
// must not drive it). Request bodies are limited to 1 MB; Ctrl-C (SIGINT)
// or SIGTERM stops it after the requests in progress.
#pragma once

#include <string>

namespace rig {

struct StudioOptions {
  std::string scenePath;   // the scene; the only file the studio writes, on Save
  std::string modulePath;  // the module file
  std::string host = "127.0.0.1";
  int port = 8740;         // 0: any free port
};

constexpr std::size_t kStudioMaxBody = 1 << 20;

// Whether a request's Host header names the server at `boundHost`:`port`:
// "localhost" or an address literal (a name could be rebound to this
// machine), the bound address itself unless the server listens on all
// addresses, and the same port.
bool HostHeaderAllowed(const std::string& header, const std::string& boundHost, int port);

// Evaluates the scene, prints the address to open and serves until
// stopped. Returns the exit status; throws RigError when the scene cannot
// be evaluated (bad input, module) or the address cannot be bound (usage).
int RunStudio(const StudioOptions& options);

}  // namespace rig
