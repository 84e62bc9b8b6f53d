#include "rig/studio/StudioServer.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <iostream>
#include <thread>

#include <httplib.h>

#include "rig/RigError.h"
#include "rig/studio/StudioAssets.h"
#include "rig/studio/StudioSession.h"

namespace rig {
namespace {

// With the charset named, the HTTP library leaves answers uncompressed: its
// only compressor for browsers is brotli at its slowest setting, which takes
// 3.7 s for the 2.5 MB state of a 512-projector rig.
constexpr char kJson[] = "application/json; charset=utf-8";
constexpr char kSvg[] = "image/svg+xml; charset=utf-8";

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

bool IsIpv4Literal(const std::string& s) {
  int dots = 0, digits = 0;
  for (char c : s) {
    if (c == '.') {
      if (digits == 0) return false;
      ++dots;
      digits = 0;
    } else if (std::isdigit(static_cast<unsigned char>(c)) && digits < 3) {
      ++digits;
    } else {
      return false;
    }
  }
  return dots == 3 && digits > 0;
}

bool IsLoopback(const std::string& host) {
  return host == "localhost" || host == "::1" || host.compare(0, 4, "127.") == 0;
}

void Answer(httplib::Response& res, int status, const nlohmann::json& body) {
  res.status = status;
  res.set_content(body.dump(), kJson);
}

void AnswerError(httplib::Response& res, int status, const std::string& message) {
  Answer(res, status, {{"error", {{"message", message}, {"line", 0}, {"column", 0}}}});
}

void AddRoutes(httplib::Server& server, StudioSession& session) {
  server.Get(R"(/(index\.html|studio\.js|studio\.css)?)", [](const httplib::Request& req, httplib::Response& res) {
    const StudioAsset* asset = FindStudioAsset(req.path);
    if (!asset) return AnswerError(res, 404, "no such file");
    res.set_content(reinterpret_cast<const char*>(asset->bytes), asset->size, asset->contentType);
    res.set_header("Cache-Control", "no-store");
  });
  server.Get("/api/scene", [&session](const httplib::Request&, httplib::Response& res) {
    res.set_content(session.SceneText(), kJson);
  });
  server.Put("/api/scene", [&session](const httplib::Request& req, httplib::Response& res) {
    if (req.body.size() > kStudioMaxBody) return AnswerError(res, 413, "a request body may hold at most 1 MB");
    nlohmann::json answer;
    const bool accepted = session.Replace(req.body, answer);
    Answer(res, accepted ? 200 : 422, answer);
  });
  server.Get("/api/state", [&session](const httplib::Request&, httplib::Response& res) {
    Answer(res, 200, session.State());
  });
  server.Get("/api/status", [&session](const httplib::Request&, httplib::Response& res) {
    Answer(res, 200, session.Status());
  });
  server.Get("/api/report", [&session](const httplib::Request&, httplib::Response& res) {
    Answer(res, 200, session.Report());
  });
  server.Get("/api/picture/unrolled.svg", [&session](const httplib::Request&, httplib::Response& res) {
    res.set_content(session.UnrolledSvg(), kSvg);
  });
  server.Get("/api/picture/plan.svg", [&session](const httplib::Request&, httplib::Response& res) {
    const std::string svg = session.PlanSvg();
    if (svg.empty()) return AnswerError(res, 404, "this build draws no plan view");
    res.set_content(svg, kSvg);
  });
  server.Post("/api/save", [&session](const httplib::Request&, httplib::Response& res) {
    try {
      session.Save();
    } catch (const RigError& e) {
      return AnswerError(res, 500, e.what());
    }
    Answer(res, 200, session.Status());
  });
}

}  // namespace

bool HostHeaderAllowed(const std::string& header, const std::string& boundHost, int port) {
  const std::string h = Lower(header);
  std::string name, portText;
  if (!h.empty() && h[0] == '[') {
    const std::size_t close = h.find(']');
    if (close == std::string::npos) return false;
    name = h.substr(1, close - 1);
    if (close + 1 < h.size()) {
      if (h[close + 1] != ':') return false;
      portText = h.substr(close + 2);
    }
  } else {
    const std::size_t colon = h.rfind(':');
    name = h.substr(0, colon);
    if (colon != std::string::npos) portText = h.substr(colon + 1);
  }
  // A browser always sends the port unless it is 80.
  if (portText.empty() ? port != 80 : portText != std::to_string(port)) return false;
  const bool literal = IsIpv4Literal(name) || h[0] == '[';
  if (name != "localhost" && !literal) return false;
  const std::string bound = Lower(boundHost);
  if (bound == "0.0.0.0" || bound == "::") return true;
  if (name == bound) return true;
  return name == "localhost" && IsLoopback(bound);
}

int RunStudio(const StudioOptions& o) {
  // The signals are taken by one thread of our own, so that stopping runs
  // outside a signal handler; every thread started after this inherits the
  // block.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  StudioSession session(o.scenePath, o.modulePath);
  httplib::Server server;
  server.set_payload_max_length(kStudioMaxBody);
  int port = o.port;
  // An idle browser connection holds a worker until this runs out, and
  // Ctrl-C waits for the workers.
  server.set_keep_alive_timeout(1);
  // Headers and body go out in separate writes: without this, Nagle's
  // algorithm meets the browser's delayed acknowledgement and every answer
  // waits some 40 ms.
  server.set_tcp_nodelay(true);
  server.set_pre_routing_handler([&o, &port](const httplib::Request& req, httplib::Response& res) {
    using Handler = httplib::Server::HandlerResponse;
    if (!HostHeaderAllowed(req.get_header_value("Host"), o.host, port)) {
      AnswerError(res, 403, "this studio answers only requests addressed to it (Host header)");
      return Handler::Handled;
    }
    // Refused before the body is read when its length says so (a chunked
    // body is held to the same limit by the server and by the handler).
    const std::string length = req.get_header_value("Content-Length");
    const bool digits = std::all_of(length.begin(), length.end(), [](unsigned char c) { return std::isdigit(c); });
    if (!digits || length.size() > 9 || (!length.empty() && std::stoul(length) > kStudioMaxBody)) {
      AnswerError(res, 413, "a request body may hold at most 1 MB");
      return Handler::Handled;
    }
    return Handler::Unhandled;
  });
  AddRoutes(server, session);

  const bool bound = port == 0 ? (port = server.bind_to_any_port(o.host)) > 0 : server.bind_to_port(o.host, port);
  if (!bound) {
    throw RigError(kExitUsage, "cannot listen on " + o.host + " port " + std::to_string(o.port) +
                                   " (in use, or not an address of this machine)");
  }
  if (!IsLoopback(o.host)) {
    std::cerr << "vistrel-rig: warning: serving on " << o.host
              << ", not on loopback: anyone who can reach this machine there can change the scene and save it\n";
  }
  const std::string shown = o.host.find(':') != std::string::npos ? "[" + o.host + "]" : o.host;
  std::cout << "Studio for " << o.scenePath << ": http://" << shown << ":" << port
            << "/ (Ctrl-C stops it)" << std::endl;

  std::atomic<bool> signalled{false};
  std::thread stopper([&server, &stopSignals, &signalled] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    signalled = true;
    server.stop();
  });
  const bool served = server.listen_after_bind();
  // The stopper ends only on a signal: send it one when the server ended on
  // its own.
  if (!signalled) pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::cout << "Studio stopped." << std::endl;
  return served ? kExitOk : kExitUsage;
}

}  // namespace rig
