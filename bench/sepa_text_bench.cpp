// Folding a text in one pass over a hashed table, against the row-by-row way
// (one replace-all over the whole text per table row, about 200 of them).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "message/accent_folding.h"
#include "message/sepa_text.h"

namespace typrosync {
namespace {

std::string Utf8(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

struct Row {
  std::string search;
  std::string replacement;
};

std::vector<Row> TableRows() {
  std::vector<Row> rows;
  for (int code = 0; code < 32; ++code)
    rows.push_back({std::string(1, static_cast<char>(code)), ""});
  for (char32_t code : {U'"', U'`', U'<'}) rows.push_back({Utf8(code), "."});
  for (int position = 128; position < 256; ++position) {
    const char32_t code = Cp437Character(static_cast<unsigned char>(position));
    if (const auto folded = FoldedForm(code)) rows.push_back({Utf8(code), std::string(*folded)});
  }
  return rows;
}

std::string FoldRowByRow(const std::string& text, const std::vector<Row>& rows) {
  std::string folded = text;
  for (const Row& row : rows) folded = VervangAlles(folded, row.search, row.replacement);
  return folded;
}

const std::string kCustomer =
    "Loonbedrijf Ærø & Zn; \"De Hoeve\"\tKerkstraat 12\r\nSint-Oedenrode (NB) Café Zoë ½ ha € "
    "12,50 ";

void BM_FoldOnePass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(VerwijderAccenten(kCustomer));
}
BENCHMARK(BM_FoldOnePass);

void BM_FoldRowByRow(benchmark::State& state) {
  const std::vector<Row> rows = TableRows();
  for (auto _ : state) benchmark::DoNotOptimize(FoldRowByRow(kCustomer, rows));
}
BENCHMARK(BM_FoldRowByRow);

void BM_MaakSepaTekst(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = kCustomer;
    benchmark::DoNotOptimize(MaakSepaTekst(text, 0));
  }
}
BENCHMARK(BM_MaakSepaTekst);

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();
