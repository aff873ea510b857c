// The rules the web engine's way out keeps: the flags it is started with, what counts as this
// computer or its local network, and how often a refusal is logged.
#include <gtest/gtest.h>

#include <sstream>

#include "webview/engine_flags.h"
#include "webview/local_ranges.h"
#include "webview/refusal_log.h"

namespace movarek {
namespace {

TEST(EngineFlagsTest, TheUsersFlagsCannotTakeTheEngineAroundTheGatekeeper) {
  const std::vector<std::string> own{"--proxy-server=http://127.0.0.1:5000",
                                     "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
                                     "--disable-features=WebRtcHideLocalIpsWithMdns"};
  const std::string ours =
      "\"--proxy-server=http://127.0.0.1:5000\" "
      "\"--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\" \"--disable-features=";
  const struct {
    std::string users;
    std::string value;
    std::vector<std::string> dropped;
  } cases[] = {
      {"--no-proxy-server  -proxy-auto-detect --proxy-pac-url=file:///p.pac",
       ours + "WebRtcHideLocalIpsWithMdns\"",
       {"--no-proxy-server", "-proxy-auto-detect", "--proxy-pac-url=file:///p.pac"}},
      // Quotes come out and keep their spaces; an open one runs to the end, past a lone "--".
      {"--user-agent=\"Můj prohlížeč\" --proxy-bypass-list=* \"--host-resolver-rules=MAP * x\" -- "
       "--remote-debugging-port=9222 --remote-debugging-pipe --x=\"a -- b",
       "\"--user-agent=Můj prohlížeč\" \"--x=a -- b\" " + ours + "WebRtcHideLocalIpsWithMdns\"",
       {"--proxy-bypass-list=*", "--host-resolver-rules=MAP * x", "--",
        "--remote-debugging-port=9222", "--remote-debugging-pipe"}},
      // The engine reads the last of these alone: the user's go into the program's.
      {"--disable-features=A,B --lang=de \"\" --disable-gpu",
       "\"--lang=de\" \"\" \"--disable-gpu\" " + ours + "A,B,WebRtcHideLocalIpsWithMdns\"",
       {}},
  };
  for (const auto& [users, value, dropped] : cases) {
    const EngineFlags flags = engineFlags(users, own);
    EXPECT_EQ(flags.value, value) << users;
    EXPECT_EQ(flags.dropped, dropped) << users;
  }
  // Read back as the engine reads the variable, each token is the one meant.
  EXPECT_EQ(engineFlagTokens(engineFlags("--user-agent=\"Můj prohlížeč\"", own).value),
            (std::vector<std::string>{"--user-agent=Můj prohlížeč", own[0], own[1], own[2]}));
}

TEST(LocalRangesTest, ThisComputerAndItsLocalNetworkAsTheMachineSeesThem) {
  // The machine's own networks: a public IPv4 one and a global IPv6 one.
  const std::vector<IpPrefix> own{{*parseIp("203.0.113.5"), 96 + 24},
                                  {*parseIp("2001:db8:aa::1"), 64}};
  std::istringstream local(
      "127.0.0.1 10.20.30.40 172.31.0.1 192.168.1.1 169.254.1.1 100.64.0.1 0.0.0.0 224.0.0.251 "
      "239.255.255.250 198.18.0.1 198.19.255.255 192.0.0.8 240.0.0.1 255.255.255.255 "
      "203.0.113.77 ::1 :: fe80::1 fec0::1 fd00::1 ff02::fb 2001:db8:aa::99 ::ffff:192.168.1.1 "
      "2002:c0a8:0101::1 64:ff9b::10.0.0.1 64:ff9b:1::1 ::10.0.0.1");
  for (std::string address; local >> address;) {
    EXPECT_TRUE(isLocalAddress(*parseIp(address), own)) << address;
  }
  std::istringstream outside(
      "198.51.100.7 8.8.8.8 198.20.0.1 203.0.114.1 2001:db8:bb::1 2002:0808:0808::1 "
      "64:ff9b::8.8.8.8 2a00:1450::1");
  for (std::string address; outside >> address;) {
    EXPECT_FALSE(isLocalAddress(*parseIp(address), own)) << address;
  }
}

TEST(RefusalLogTest, ARefusedHostIsLoggedOnceASecondWithACount) {
  using namespace std::chrono_literals;
  using Lines = std::vector<RefusalLog::Line>;
  RefusalLog log;
  const RefusalLog::Clock::time_point start{};
  EXPECT_EQ(log.refused("a:80", start), (Lines{{"a:80", 1}}));
  for (int again = 0; again < 99; ++again) EXPECT_EQ(log.refused("a:80", start + 10ms), Lines{});
  EXPECT_EQ(log.refused("b:80", start + 10ms), (Lines{{"b:80", 1}}));
  EXPECT_EQ(log.due(start + 999ms), Lines{});
  EXPECT_EQ(log.due(start + 1s), (Lines{{"a:80", 99}}));
  EXPECT_EQ(log.refused("a:80", start + 1500ms), Lines{});
  EXPECT_EQ(log.due(start + 2s), (Lines{{"a:80", 1}}));
  // A host quiet for a second is told at once again.
  EXPECT_EQ(log.due(start + 3s), Lines{});
  EXPECT_EQ(log.refused("a:80", start + 3s), (Lines{{"a:80", 1}}));
}

}  // namespace
}  // namespace movarek
