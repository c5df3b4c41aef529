// Posting 10 KB messages to the local HTTPS test server, over one kept
// connection and over a fresh connection per message.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "support/test_server.h"
#include "transport/https_delivery.h"

namespace typrosync {
namespace {

using test_support::HttpsServerOptions;
using test_support::HttpsTestServer;
using test_support::TempDir;

constexpr size_t kMessageBytes = 10 * 1024;

// One server for the whole run, so both variants meet the same peer.
struct LocalEndpoint {
  TempDir dir;
  std::unique_ptr<HttpsTestServer> server;
  std::string ca_bundle;

  LocalEndpoint() {
    auto certificate = test_support::MakeTestCertificate(dir.path(), "bench");
    test_support::WriteFileBytes(dir.path() + "reply.txt", "<ok/>");
    HttpsServerOptions options;
    options.certificate = certificate;
    options.reply_file = dir.path() + "reply.txt";
    server = std::make_unique<HttpsTestServer>(options);
    ca_bundle = certificate.cert;
  }
};

LocalEndpoint& Endpoint() {
  static LocalEndpoint endpoint;
  return endpoint;
}

void PostMessages(benchmark::State& state, bool reuse) {
  LocalEndpoint& endpoint = Endpoint();
  TempDir data;
  HttpsOptions options;
  options.url = endpoint.server->url();
  options.ca_bundle = endpoint.ca_bundle;
  options.reuse_connection = reuse;
  auto sender = MakeHttpsSender(data.path(), options);
  const std::string message(kMessageBytes, 'x');
  for (auto _ : state) {
    HttpsReply reply = sender->VerstuurViaHTTPS(message);
    if (!reply.sent || reply.reply != "<ok/>") {
      state.SkipWithError("request failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMessageBytes));
}

void BM_PostReusingConnection(benchmark::State& state) { PostMessages(state, true); }
void BM_PostFreshConnection(benchmark::State& state) { PostMessages(state, false); }

BENCHMARK(BM_PostReusingConnection)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PostFreshConnection)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();
