#include "profile/revocation_item.h"

#include <charconv>
#include <stdexcept>
#include <vector>

namespace orv::profile {
namespace {

int32_t Number(std::string_view text, std::string_view what) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw std::invalid_argument("not a number for " + std::string(what) + ": " + std::string(text));
  }
  return value;
}

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    parts.emplace_back(text.substr(start, colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  return parts;
}

}  // namespace

RevocationItem RevocationItem::Parse(std::string_view text) {
  RevocationItem item;
  const size_t at = text.rfind('@');
  if (at != std::string_view::npos) {
    item.company = Number(text.substr(at + 1), "the company");
    text = text.substr(0, at);
  }
  const std::vector<std::string> parts = Split(text);
  const std::string& what = parts[0];
  auto need = [&](size_t low, size_t high) {
    if (parts.size() < low + 1 || parts.size() > high + 1) {
      throw std::invalid_argument("wrong number of codes in " + std::string(text));
    }
  };
  auto parameter = [&](int32_t kind) {
    need(1, 1);
    item.table = RevocationTable::kParameters;
    item.kind = kind;
    item.code1 = parts[1];
  };
  if (what == "warehouse") {
    parameter(6);
  } else if (what == "project") {
    parameter(8);
  } else if (what == "simulation") {
    parameter(15);
  } else if (what == "blocking") {
    parameter(30);
  } else if (what == "parameter") {
    need(2, 2);
    item.table = RevocationTable::kParameters;
    item.kind = Number(parts[1], "the kind");
    item.code1 = parts[2];
  } else if (what == "transfer") {
    need(2, 2);
    item.table = RevocationTable::kTransfers;
    item.code1 = parts[1];
    item.code2 = parts[2];
  } else if (what == "family") {
    need(1, 1);
    item.table = RevocationTable::kFamilies;
    item.grouping = "FAM";
    item.code1 = parts[1];
  } else if (what == "node") {
    need(2, 2);
    item.table = RevocationTable::kNodes;
    item.code1 = parts[1];
    item.code2 = parts[2];
  } else if (what == "clifor") {
    need(3, 5);
    item.table = RevocationTable::kCliFor;
    item.kind = Number(parts[1], "the customer/supplier type");
    item.grouping = parts[2];
    if (parts.size() == 4 && (item.grouping.starts_with("RAGG") || item.grouping == "SEDE")) {
      // Groupings and sites keep their one code in the lowest level.
      item.code3 = parts[3];
    } else {
      item.code1 = parts[3];
      if (parts.size() > 4) item.code2 = parts[4];
      if (parts.size() > 5) item.code3 = parts[5];
    }
  } else {
    throw std::invalid_argument("unknown kind of item: " + what +
                                " (warehouse, project, simulation, blocking, parameter, "
                                "transfer, family, node, clifor)");
  }
  if (item.code1.empty() && item.table != RevocationTable::kCliFor) {
    throw std::invalid_argument("no code in " + std::string(text));
  }
  return item;
}

}  // namespace orv::profile
