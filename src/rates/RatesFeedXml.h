// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <vector>

#include "EuroRates.h"

namespace dravello {

enum class FeedXmlStatus {
  kOk,
  kNotXml,      // not a well-formed XML document
  kWrongShape,  // XML, but not the shape of a euro reference-rate feed
};

// Reads the answer of a euro reference-rate feed:
//
//   <gesmes:Envelope xmlns:gesmes="..." xmlns="...">
//     ...any other elements of the envelope...
//     <Cube>
//       <Cube time="YYYY-MM-DD">
//         <Cube currency="USD" rate="1.0850"/>
//         ...
//
// Elements are known by their local names, whatever their namespaces. The envelope holds one
// Cube, which holds one dated Cube, which holds only empty Cube elements with a currency and a
// rate (none at all is the shape too: EuroRates judges that, and the texts). Comments and
// processing instructions may stand anywhere, blanks between elements; anything else in the
// Cubes, or a document type declaration, is another shape. `feed` is set only for kOk.
FeedXmlStatus ReadRatesFeedXml(const QByteArray& bytes, RatesFeed& feed);

// The same for the feed of the last days' rates, whose outer Cube holds one dated Cube a day
// (one at least). `days` is set only for kOk, in the document's order.
FeedXmlStatus ReadRatesHistoryXml(const QByteArray& bytes, std::vector<RatesFeed>& days);

}  // namespace dravello
