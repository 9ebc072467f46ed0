// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>

class QWidget;

// "Evolución…": how the rate of one currency against the base moved over the last 90 days, from
// the history feed named by key Historico of section CAMBIOS of the settings file (the European
// Central Bank's 90-day feed when the key is missing or empty), with the rules of every fetch.
// The answer is kept in the user's cache folder (HistoryCache) and used again, without the
// network, the day it was fetched. A fetch that fails falls back to the cache of an earlier day,
// saying so. The chart's window comes from the chart module, loaded at the first chart.
class RateChart {
 public:
  struct Request {
    std::string ruta_ini;  // the settings file
    std::string base;      // abbreviations, Windows-1252, as the table has them
    std::string moneda;
    std::optional<double> cambio;  // the rate of the table, marked on the chart
    char separador_decimal = ',';
    std::string today;  // YYYY-MM-DD
  };

  // Opens the chart's window over `parent`, modal, and returns when it is closed. Any failure is
  // told in the window, or in a message box when the window itself cannot be had.
  static void Open(const Request& request, QWidget* parent);

  // The longest a fetch may take: 15 s unless set (the tests use less).
  static void SetTimeout(std::chrono::milliseconds timeout);
};
