// SPDX-License-Identifier: GPL-3.0-or-later
// The answer of the rates feed: any bytes are read or refused, and the rates of an answer that
// passes its checks give the dialog's rows their rates.
#include <QByteArray>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "EuroRates.h"
#include "FormatoGeneral.h"
#include "RateUpdate.h"
#include "RatesFeedXml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravello;
  dravello::RatesFeed feed;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (ReadRatesFeedXml(bytes, feed) != FeedXmlStatus::kOk) return 0;
  EuroRates rates;
  if (EuroRates::Read(feed, rates).fault != FeedFault::kNone) return 0;
  const std::array<std::string, kNumeroMonedas> rows = {"Eur", "USD", "Yen", "Pts",
                                                        "chf", "XYZ", "\xA3"};
  for (std::size_t base = 0; base < 3; ++base) {
    std::array<std::string, kNumeroMonedas> abbreviations = rows;
    std::swap(abbreviations[0], abbreviations[base]);
    const RateUpdate update = ComputeRates(abbreviations, rates);
    for (const auto& rate : update.cambio) {
      if (rate) FormatoGeneral(*rate, ',');
    }
  }
  return 0;
}
