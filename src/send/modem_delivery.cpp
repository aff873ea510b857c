#include "send/modem_delivery.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace movarek {
namespace {

constexpr std::uint32_t kLastDelivered = 0x02;
constexpr std::uint32_t kFirstTrying = 0x20;
constexpr std::uint32_t kFirstFailed = 0x40;
constexpr std::uint32_t kFirstGivenUp = 0x60;  // temporary errors the centre no longer retries
constexpr std::uint32_t kLastFailed = 0x7F;
constexpr std::string_view kReasonPrefix = "report 0x";

// The temporary errors, the same whether the centre still tries or has given up (0x20 or 0x60
// and on).
constexpr std::array<std::string_view, 6> kTemporary{
    "síť je přetížená",
    "telefon adresáta je zaneprázdněný",
    "telefon adresáta neodpovídá",
    "služba byla odmítnuta",
    "služba není dostupná",
    "chyba v telefonu adresáta",
};
// The permanent errors, from 0x40 on.
constexpr std::array<std::string_view, 10> kPermanent{
    "chyba v síti",
    "adresát zprávu nemůže přijmout",
    "telefon adresáta zprávu odmítl",
    "číslo není dosažitelné",
    "služba není dostupná",
    "do sítě adresáta nelze zprávu předat",
    "vypršela platnost zprávy",
    "zpráva byla smazána odesílatelem",
    "zprávu smazalo SMS centrum",
    "zpráva v SMS centru už není",
};

// Each delivery as the database keeps it and as the user reads it, in the order of Delivery.
struct DeliveryWords {
  std::string_view code;
  std::string_view name;
};
constexpr DeliveryWords kDeliveryWords[] = {
    {"awaiting", "čeká na doručenku"},
    {"delivered", "doručeno"},
    {"not-delivered", "nedoručeno"},
};

std::size_t index(Delivery delivery) { return static_cast<std::size_t>(delivery); }

std::string reportReasonCode(std::uint32_t state) {
  char code[16];
  std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(state));
  return std::string(kReasonPrefix) + code;
}

std::string_view knownWords(std::uint32_t state) {
  if (state >= kFirstTrying && state < kFirstFailed) state += kFirstGivenUp - kFirstTrying;
  if (state >= kFirstGivenUp && state - kFirstGivenUp < kTemporary.size()) {
    return kTemporary[state - kFirstGivenUp];
  }
  if (state >= kFirstFailed && state - kFirstFailed < kPermanent.size()) {
    return kPermanent[state - kFirstFailed];
  }
  return {};
}

}  // namespace

std::string_view deliveryName(Delivery delivery) { return kDeliveryWords[index(delivery)].name; }

std::string_view deliveryCode(Delivery delivery) { return kDeliveryWords[index(delivery)].code; }

ReportedDelivery reportedDelivery(std::uint32_t deliveryState) {
  if (deliveryState <= kLastDelivered) return {Delivery::Delivered, {}};
  if (deliveryState >= kFirstFailed && deliveryState <= kLastFailed) {
    return {Delivery::NotDelivered, reportReasonCode(deliveryState)};
  }
  return {Delivery::Awaiting, reportReasonCode(deliveryState)};
}

std::string deliveryReason(std::string_view code) {
  if (!code.starts_with(kReasonPrefix)) return {};
  const std::string_view digits = code.substr(kReasonPrefix.size());
  std::uint32_t state = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), state, 16);
  if (error != std::errc{} || end != digits.data() + digits.size()) return {};
  if (const std::string_view words = knownWords(state); !words.empty()) {
    return state < kFirstFailed ? "síť to zkouší dál: " + std::string(words) : std::string(words);
  }
  if (state >= kFirstTrying && state < kFirstFailed) return "síť to zkouší dál";
  if (state >= kFirstFailed && state <= kLastFailed) {
    return "síť zprávu nedoručila (kód 0x" + std::string(digits) + ")";
  }
  return "síť stav doručení neuvedla";
}

ReportMatchResult matchReport(const DeliveryReport& report, std::string_view reportNumber,
                              const std::vector<ReportCandidate>& candidates, std::int64_t window) {
  const ReportCandidate* newest = nullptr;
  const ReportCandidate* newestAwaitingReference = nullptr;
  const auto newer = [](const ReportCandidate* than, const ReportCandidate& candidate) {
    return !than || candidate.sentAt > than->sentAt ||
           (candidate.sentAt == than->sentAt && candidate.id > than->id);
  };
  for (const ReportCandidate& candidate : candidates) {
    const bool inWindow =
        candidate.sentAt <= report.receivedAt && report.receivedAt - candidate.sentAt <= window;
    if (candidate.matched || !inWindow || candidate.number != reportNumber) continue;
    if (!candidate.reference) {
      if (newer(newestAwaitingReference, candidate)) newestAwaitingReference = &candidate;
    } else if (*candidate.reference == report.reference && newer(newest, candidate)) {
      newest = &candidate;
    }
  }
  // A message still being sent may yet turn out to be the newest with this reference.
  if (newestAwaitingReference && newer(newest, *newestAwaitingReference)) {
    return {ReportMatch::Held, 0};
  }
  return newest ? ReportMatchResult{ReportMatch::Matched, newest->id} : ReportMatchResult{};
}

}  // namespace movarek
