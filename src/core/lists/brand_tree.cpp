#include "core/lists/brand_tree.h"

#include <span>

#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// A fixed child of a category and the list it stands for.
struct Child {
  std::string_view text;
  SourceKind kind;
  int32_t number;
  int64_t low;
  int64_t high;
};

constexpr SourceKind kSize = SourceKind::kSizeClass;
constexpr Child kIndexChildren[] = {
    // No membership data exists for this one: it lists nothing.
    {"日経225", kSize, 0, 0, 0},
    {"TOPIX CORE 30", kSize, size_class::Bit(size_class::kCore30), 0, 0},
    {"TOPIX Large 70", kSize, size_class::Bit(size_class::kLarge70), 0, 0},
    {"TOPIX 100", kSize, size_class::Bit(size_class::kCore30) | size_class::Bit(size_class::kLarge70), 0, 0},
};

constexpr SourceKind kRange = SourceKind::kCodeRange;
constexpr Child kCodeChildren[] = {
    // The listed codes start at 1300; 1000..1299 hold the index brands.
    {"すべて", kRange, 0, 1300, 10000},  {"1000番台", kRange, 0, 1300, 2000},
    {"2000番台", kRange, 0, 2000, 3000}, {"3000番台", kRange, 0, 3000, 4000},
    {"4000番台", kRange, 0, 4000, 5000}, {"5000番台", kRange, 0, 5000, 6000},
    {"6000番台", kRange, 0, 6000, 7000}, {"7000番台", kRange, 0, 7000, 8000},
    {"8000番台", kRange, 0, 8000, 9000}, {"9000番台", kRange, 0, 9000, 10000},
};

constexpr SourceKind kUnit = SourceKind::kUnitValue;
constexpr Child kUnitValueChildren[] = {
    {"5万円未満", kUnit, 0, 10000, 50000},          {"10万円未満", kUnit, 0, 50000, 100000},
    {"50万円未満", kUnit, 0, 100000, 500000},       {"100万円未満", kUnit, 0, 500000, 1000000},
    {"100万円以上", kUnit, 0, 1000000, 1000000000},
};

constexpr SourceKind kYield = SourceKind::kYield;
constexpr Child kYieldChildren[] = {
    {"1%未満", kYield, 0, 0, 1}, {"3%未満", kYield, 0, 1, 3},   {"5%未満", kYield, 0, 3, 5},
    {"8%未満", kYield, 0, 5, 8}, {"10%未満", kYield, 0, 8, 10}, {"10%以上", kYield, 0, 10, 100},
};

constexpr SourceKind kCap = SourceKind::kMarketCap;
constexpr Child kMarketCapChildren[] = {
    {"50億円未満", kCap, 0, 0, 5000},           {"100億円未満", kCap, 0, 5000, 10000},
    {"500億円未満", kCap, 0, 10000, 50000},     {"1000億円未満", kCap, 0, 50000, 100000},
    {"5000億円未満", kCap, 0, 100000, 500000},  {"1兆円未満", kCap, 0, 500000, 1000000},
    {"1兆円以上", kCap, 0, 1000000, 100000000},
};

// The roots in tree order: text, image and fixed children. お気に入り takes the folders, and the market
// and sector roots take theirs from the number tables.
struct Root {
  std::string_view text;
  int image;
  std::span<const Child> children;
};
constexpr Root kRoots[tree_root::kCount] = {
    {"お気に入り", tree_image::kFavourites, {}},
    {"口座管理", tree_image::kAccount, {}},
    {"取引履歴", tree_image::kHistory, {}},
    {"指標別", tree_image::kOther, kIndexChildren},
    {"コード別", tree_image::kOther, kCodeChildren},
    {"市場別", tree_image::kOther, {}},
    {"業種別", tree_image::kOther, {}},
    {"単元額別", tree_image::kOther, kUnitValueChildren},
    {"利回り別", tree_image::kOther, kYieldChildren},
    {"時価総額別", tree_image::kOther, kMarketCapChildren},
};

std::span<const Child> FixedChildren(int32_t root) {
  return kRoots[static_cast<size_t>(root)].children;
}

// Markets 1..12 and sectors 1..35 are the children of their roots, in number order.
int32_t ChildCount(int32_t root) {
  if (root == tree_root::kMarkets) return kMarketCount - 1;
  if (root == tree_root::kSectors) return kSectorCount - 1;
  return static_cast<int32_t>(FixedChildren(root).size());
}

std::string ChildText(int32_t root, int32_t child) {
  if (root == tree_root::kMarkets) return std::string(MarketName(child + 1));
  if (root == tree_root::kSectors) return std::string(SectorName(child + 1));
  return std::string(FixedChildren(root)[static_cast<size_t>(child)].text);
}

// Folder slots shown in the tree: up to the first free slot, flag 0 only.
bool FolderShown(const FolderTable& folders, int32_t slot) {
  if (slot < 0 || slot >= static_cast<int32_t>(kFolderCount)) return false;
  for (int32_t i = 0; i <= slot; ++i)
    if (folders[static_cast<size_t>(i)].name[0] == '\0') return false;
  return folders[static_cast<size_t>(slot)].flag == 0;
}

}  // namespace

std::vector<TreeNode> FolderNodes(const FolderTable& folders) {
  std::vector<TreeNode> nodes;
  for (size_t slot = 0; slot < kFolderCount && folders[slot].name[0] != '\0'; ++slot) {
    if (folders[slot].flag != 0) continue;
    nodes.push_back({NodeId{tree_root::kFavourites, static_cast<int32_t>(slot)},
                     SjisToUtf8(FieldText(folders[slot].name)),
                     tree_image::kFavourites,
                     {}});
  }
  return nodes;
}

std::vector<TreeNode> BuildTree(const FolderTable& folders) {
  std::vector<TreeNode> roots;
  for (int32_t root = 0; root < tree_root::kCount; ++root) {
    TreeNode node{NodeId{root, -1},
                  std::string(kRoots[static_cast<size_t>(root)].text),
                  kRoots[static_cast<size_t>(root)].image,
                  {}};
    if (root == tree_root::kFavourites) {
      node.children = FolderNodes(folders);
    } else {
      for (int32_t child = 0; child < ChildCount(root); ++child)
        node.children.push_back({NodeId{root, child}, ChildText(root, child), tree_image::kOther, {}});
    }
    roots.push_back(std::move(node));
  }
  return roots;
}

bool NodeExists(NodeId node, const FolderTable& folders) {
  if (node.root < 0 || node.root >= tree_root::kCount || node.child < -1) return false;
  if (node.IsRoot()) return true;
  if (node.IsFolder()) return FolderShown(folders, node.child);
  return node.child < ChildCount(node.root);
}

ListSource SourceOf(NodeId node) {
  ListSource source;
  if (node.IsRoot()) {
    source.kind = node.root == tree_root::kAccount   ? SourceKind::kAccount
                  : node.root == tree_root::kHistory ? SourceKind::kHistory
                                                     : SourceKind::kIndexBrands;
  } else if (node.IsFolder()) {
    source.kind = SourceKind::kFolder;
    source.number = node.child;
  } else if (node.root == tree_root::kMarkets) {
    source.kind = SourceKind::kMarket;
    source.number = node.child + 1;
  } else if (node.root == tree_root::kSectors) {
    source.kind = SourceKind::kSector;
    source.number = node.child + 1;
  } else if (node.root >= 0 && node.root < tree_root::kCount && node.child < ChildCount(node.root)) {
    const Child& c = FixedChildren(node.root)[static_cast<size_t>(node.child)];
    source.kind = c.kind;
    source.number = c.number;
    source.low = c.low;
    source.high = c.high;
  }
  return source;
}

int32_t NodeKey(NodeId node) {
  return (node.root + 1) * 1000 + node.child + 1;
}

std::optional<NodeId> NodeOfKey(int32_t key, const FolderTable& folders) {
  if (key <= 0) return std::nullopt;
  const NodeId node{key / 1000 - 1, key % 1000 - 1};
  if (!NodeExists(node, folders)) return std::nullopt;
  return node;
}

}  // namespace sorano
