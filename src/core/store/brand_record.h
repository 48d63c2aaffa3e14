#pragma once
// One brand of the brand master: the 256-byte record of data/view.dat (record n at byte n * 256).
// Text fields are Shift_JIS, NUL-terminated; integers 32-bit and doubles IEEE 754, little-endian.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace sorano {

static_assert(std::endian::native == std::endian::little, "record files are little-endian byte images");

// The table is indexed by BrandCode 0..9999.
inline constexpr size_t kBrandCount = 10000;

struct BrandRecord {
  char name[64] = {};           // Shift_JIS
  int32_t market = 0;           // market number 0..12 (MarketName)
  int32_t sector = 0;           // sector number 0..35 (SectorName)
  char quoteTime[12] = {};      // time text of the last quote as the quote page prints it
  int32_t price = 0;            // last trade, yen; 0 marks an unused slot, >= 1 for a listed brand
  int32_t open = 0;             // yen
  int32_t high = 0;             // yen
  int32_t low = 0;              // yen
  int32_t bid = 0;              // best bid, yen
  int32_t ask = 0;              // best ask, yen
  int32_t reserved = 0;         // unused, written as it stands
  int32_t change = 0;           // from the previous close, yen
  char padding1[4] = {};        // alignment of changePercent, kept in the file
  double changePercent = 0;     // percent
  int32_t volume = 0;           // shares
  char padding2[4] = {};        // alignment, kept in the file
  double volumeRatio = 0;       // volume / sharesIssued / 100
  int32_t tradingValue = 0;     // (volume / 100) * price
  int32_t marketCap = 0;        // millions of yen
  double dividendYield = 0;     // percent
  double dividendPerShare = 0;  // yen
  double per = 0;               // price / earnings
  double eps = 0;               // yen
  double pbr = 0;               // price / book
  double bps = 0;               // yen
  double equityRatio = 0;       // percent
  double roe = 0;               // percent
  double roa = 0;               // percent
  int32_t sharesIssued = 0;     // shares
  int32_t unitShares = 0;       // shares per trading unit, 0 when unknown
  int32_t unitValue = 0;        // unitShares * price, or price when unitShares is 0
  char fiscalPeriod[20] = {};   // fiscal year-end text as the quote page prints it
};
static_assert(sizeof(BrandRecord) == 256);
static_assert(offsetof(BrandRecord, name) == 0);
static_assert(offsetof(BrandRecord, market) == 64);
static_assert(offsetof(BrandRecord, sector) == 68);
static_assert(offsetof(BrandRecord, quoteTime) == 72);
static_assert(offsetof(BrandRecord, price) == 84);
static_assert(offsetof(BrandRecord, open) == 88);
static_assert(offsetof(BrandRecord, high) == 92);
static_assert(offsetof(BrandRecord, low) == 96);
static_assert(offsetof(BrandRecord, bid) == 100);
static_assert(offsetof(BrandRecord, ask) == 104);
static_assert(offsetof(BrandRecord, reserved) == 108);
static_assert(offsetof(BrandRecord, change) == 112);
static_assert(offsetof(BrandRecord, padding1) == 116);
static_assert(offsetof(BrandRecord, changePercent) == 120);
static_assert(offsetof(BrandRecord, volume) == 128);
static_assert(offsetof(BrandRecord, padding2) == 132);
static_assert(offsetof(BrandRecord, volumeRatio) == 136);
static_assert(offsetof(BrandRecord, tradingValue) == 144);
static_assert(offsetof(BrandRecord, marketCap) == 148);
static_assert(offsetof(BrandRecord, dividendYield) == 152);
static_assert(offsetof(BrandRecord, dividendPerShare) == 160);
static_assert(offsetof(BrandRecord, per) == 168);
static_assert(offsetof(BrandRecord, eps) == 176);
static_assert(offsetof(BrandRecord, pbr) == 184);
static_assert(offsetof(BrandRecord, bps) == 192);
static_assert(offsetof(BrandRecord, equityRatio) == 200);
static_assert(offsetof(BrandRecord, roe) == 208);
static_assert(offsetof(BrandRecord, roa) == 216);
static_assert(offsetof(BrandRecord, sharesIssued) == 224);
static_assert(offsetof(BrandRecord, unitShares) == 228);
static_assert(offsetof(BrandRecord, unitValue) == 232);
static_assert(offsetof(BrandRecord, fiscalPeriod) == 236);

}  // namespace sorano
