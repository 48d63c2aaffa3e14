// The tree's nodes and what each node lists: every category bound, the code ranges, 不明, the index
// children, and folders known by their slot whatever their name.
#include "core/lists/brand_tree.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/lists/list_row.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using Codes = std::vector<int32_t>;

void Name(BrandFolder& f, std::string_view utf8, int32_t flag = 0) {
  SetField(f.name, Utf8ToSjis(utf8));
  f.flag = flag;
}

class BrandTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    struct Brand {
      int32_t code, price, market, sector, unitValue;
      double yield;
      int32_t marketCap;
      uint8_t sizeClass;
    };
    // Every bound of every category has a brand on it, one just inside it, or one outside.
    const Brand brands[] = {
        {1299, 5, 1, 1, 20000, 2, 1000, 1},           // below the listed codes: in no category
        {1300, 1, 1, 1, 50000, 3.0, 5000, 1},         // on the bounds 5万, 3%, 50億
        {1301, 1, 2, 35, 49999, 2.99, 4999, 2},       // just inside them; sector 35 "不明"
        {1999, 1, 3, 0, 10000, 0, 0, 4},              // on the low bounds; no sector at all
        {2000, 0, 1, 1, 20000, 2, 1000, 1},           // price 0: a free slot
        {2001, 1, 12, 34, 1000000, 10, 1000000, 0},   // on the bounds 100万, 10%, 1兆
        {5000, 1, 1, 16, 1000001, 10.5, 1000001, 0},  // above them
        {9999, 1, 1, 1, 20000, 2, 1000, 1},           // beyond the categories' 9998, inside すべて
    };
    for (const Brand& b : brands) {
      BrandRecord& r = table[static_cast<size_t>(b.code)];
      r.price = b.price;
      r.market = b.market;
      r.sector = b.sector;
      r.unitValue = b.unitValue;
      r.dividendYield = b.yield;
      r.marketCap = b.marketCap;
      sizes.ofCode[static_cast<size_t>(b.code)] = b.sizeClass;
    }
    Name(folders[0], "東証1部");
    folders[0].codes[0] = 2000;  // a folder lists its codes, in use or not
    folders[0].codes[1] = 1301;
    Name(folders[1], "株", 1);  // hidden
    Name(folders[2], "株");
    Name(folders[4], "孤立");  // behind the free slot 3: not in the tree
  }

  Codes Listed(NodeId node) const {
    const ListTables t{table, folders, holdings, trades, sizes};
    Codes codes;
    for (const ListRow& row : FillRows(SourceOf(node), t)) codes.push_back(row.code);
    return codes;
  }

  BrandTable table;
  FolderTable folders{};
  HoldingTable holdings;
  TradeTable trades;
  SizeClasses sizes;
};

TEST_F(BrandTreeTest, RootsAndChildrenInOrder) {
  const std::vector<TreeNode> tree = BuildTree(folders);
  std::vector<std::string> roots;
  for (const TreeNode& r : tree) roots.push_back(r.text);
  EXPECT_EQ(roots, (std::vector<std::string>{"お気に入り", "口座管理", "取引履歴", "指標別", "コード別",
                                             "市場別", "業種別", "単元額別", "利回り別", "時価総額別"}));
  const size_t counts[] = {2, 0, 0, 4, 10, 12, 35, 5, 6, 7};
  for (size_t i = 0; i < tree.size(); ++i) EXPECT_EQ(tree[i].children.size(), counts[i]) << tree[i].text;
  EXPECT_EQ(tree[0].image, tree_image::kFavourites);
  EXPECT_EQ(tree[1].image, tree_image::kAccount);
  EXPECT_EQ(tree[2].image, tree_image::kHistory);
  EXPECT_EQ(tree[4].children[1].text, "1000番台");
  EXPECT_EQ(tree[5].children.back().text, "マザーズ");
  EXPECT_EQ(tree[6].children.back().text, "不明");
  EXPECT_EQ(tree[3].children[3].text, "TOPIX 100");

  // Folders up to the first free slot, the hidden one left out; each known by its slot.
  const auto& shown = tree[0].children;
  EXPECT_EQ(shown[0].id, (NodeId{0, 0}));
  EXPECT_EQ(shown[0].text, "東証1部");
  EXPECT_EQ(shown[1].id, (NodeId{0, 2}));
  EXPECT_EQ(shown[1].text, "株");

  // Every node's key brings the node back; keys of nodes that are not in the tree bring nothing.
  for (const TreeNode& r : tree) {
    EXPECT_EQ(NodeOfKey(NodeKey(r.id), folders), r.id);
    for (const TreeNode& c : r.children) EXPECT_EQ(NodeOfKey(NodeKey(c.id), folders), c.id) << c.text;
  }
  for (NodeId gone : {NodeId{0, 1}, NodeId{0, 4}, NodeId{5, 12}, NodeId{10, -1}})
    EXPECT_FALSE(NodeOfKey(NodeKey(gone), folders)) << gone.root << "/" << gone.child;
  for (int32_t key : {0, -5, 999999}) EXPECT_FALSE(NodeOfKey(key, folders)) << key;
}

TEST_F(BrandTreeTest, EachNodeListsItsBrandsWithBothBoundsExclusive) {
  using namespace tree_root;
  const struct {
    NodeId node;
    Codes codes;
  } cases[] = {
      {{kCodes, 0}, {1300, 1301, 1999, 2001, 5000, 9999}},  // すべて: from 1300, 9999 included
      {{kCodes, 1}, {1300, 1301, 1999}},                    // 1000番台 starts at 1300
      {{kCodes, 2}, {2001}},
      {{kCodes, 9}, {9999}},
      {{kMarkets, 0}, {1300, 5000}},  // 東証1部 up to 9998
      {{kMarkets, 11}, {2001}},
      {{kSectors, 0}, {1300}},
      {{kSectors, 33}, {2001}},        // 上場投信
      {{kSectors, 34}, {1301, 1999}},  // 不明: sector 35 and no sector
      {{kUnitValues, 0}, {1301}},      // 5万円未満: neither 10000 nor 50000
      {{kUnitValues, 1}, {}},
      {{kUnitValues, 4}, {5000}},  // 100万円以上: not 1000000 itself
      {{kYields, 0}, {}},          // a yield of 0 is under no child
      {{kYields, 1}, {1301}},      // 3%未満: not 3.0
      {{kYields, 2}, {}},          // 5%未満: not 3.0 either
      {{kYields, 5}, {5000}},      // 10%以上: not 10
      {{kMarketCaps, 0}, {1301}},  // 50億円未満: neither 0 nor 5000
      {{kMarketCaps, 1}, {}},
      {{kMarketCaps, 6}, {5000}},
      {{kIndexes, 0}, {}},            // 日経225: no membership data
      {{kIndexes, 1}, {1300, 9999}},  // not 1299: the listed codes start at 1300
      {{kIndexes, 2}, {1301}},
      {{kIndexes, 3}, {1300, 1301, 9999}},
      {{kMarkets, -1}, {1010, 1020, 1030}},  // a root without a list of its own
      {{kFavourites, -1}, {1010, 1020, 1030}},
      {{kFavourites, 0}, {2000, 1301}},  // the folder named 東証1部 is a folder
      {{kFavourites, 2}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Listed(c.node), c.codes) << c.node.root << "/" << c.node.child;
  EXPECT_EQ(SourceOf({kAccount, -1}).kind, SourceKind::kAccount);
  EXPECT_EQ(SourceOf({kHistory, -1}).kind, SourceKind::kHistory);
}

TEST(SizeClasses, FileLinesOutsideTheirRangesAreSkipped) {
  test::TempDir dir;
  test::WriteBytes(dir / "size_class.dat", "1301,1\r\n7203,2\nbad\n99999,1\n1305,9\n1306,-\n-1,1\n9984,4");
  SizeClasses classes;
  classes.ofCode[42] = 7;
  EXPECT_EQ(LoadSizeClasses(dir / "size_class.dat", classes), 3);
  EXPECT_EQ(classes.ofCode[1301], 1);
  EXPECT_EQ(classes.ofCode[7203], 2);
  EXPECT_EQ(classes.ofCode[9984], 4);
  EXPECT_EQ(classes.ofCode[1305] + classes.ofCode[1306] + classes.ofCode[42], 0);
  EXPECT_EQ(LoadSizeClasses(dir / "missing", classes), -1);
}

TEST(SizeClasses, TheShippedFileNamesTheTopix100AmongTheShippedBrands) {
  SizeClasses classes;
  ASSERT_GT(LoadSizeClasses(SORANO_SOURCE_DIR "/resources/size_class.dat", classes), 1000);
  const std::string brands = "\r\n" + test::ReadBytes(SORANO_SOURCE_DIR "/resources/default.dat");
  int core30 = 0, large70 = 0;
  for (size_t code = 0; code < kBrandCount; ++code) {
    if (classes.ofCode[code] == 0) continue;
    core30 += classes.ofCode[code] == size_class::kCore30;
    large70 += classes.ofCode[code] == size_class::kLarge70;
    EXPECT_NE(brands.find("\r\n" + std::to_string(code) + ","), std::string::npos) << code;
  }
  EXPECT_EQ(core30, 31);
  EXPECT_EQ(large70, 68);
}

}  // namespace
}  // namespace sorano
