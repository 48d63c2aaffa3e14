#pragma once
// The brand tree as data: ten roots in a fixed order, the user's folders under the first, and the
// ready-made categories with their texts and bounds. A node is known by its place (root and child),
// never by its text, so a folder named "東証1部" is still a folder and two folders of one name stay two.
//
// Texts are UTF-8. Bounds are exclusive on both sides (a unit value of exactly 50000 yen is under no
// child of 単元額別), except that a code range includes its low end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/lists/list_source.h"
#include "core/store/brand_folder.h"

namespace sorano {

// The roots, in tree order.
namespace tree_root {
inline constexpr int32_t kFavourites = 0;  // お気に入り: the user's folders
inline constexpr int32_t kAccount = 1;     // 口座管理
inline constexpr int32_t kHistory = 2;     // 取引履歴
inline constexpr int32_t kIndexes = 3;     // 指標別
inline constexpr int32_t kCodes = 4;       // コード別
inline constexpr int32_t kMarkets = 5;     // 市場別
inline constexpr int32_t kSectors = 6;     // 業種別
inline constexpr int32_t kUnitValues = 7;  // 単元額別
inline constexpr int32_t kYields = 8;      // 利回り別
inline constexpr int32_t kMarketCaps = 9;  // 時価総額別
inline constexpr int32_t kCount = 10;
}  // namespace tree_root

// A node by its place: child is -1 for a root itself, the folder's slot (0..99) under お気に入り, and
// the position among the category's children elsewhere.
struct NodeId {
  int32_t root = tree_root::kFavourites;
  int32_t child = -1;

  bool operator==(const NodeId&) const = default;
  bool IsRoot() const { return child < 0; }
  bool IsFolder() const { return root == tree_root::kFavourites && child >= 0; }
};

// Images of the tree's image list; a selected node shows image + 1.
namespace tree_image {
inline constexpr int kFavourites = 0;
inline constexpr int kOther = 2;
inline constexpr int kAccount = 4;
inline constexpr int kHistory = 6;
}  // namespace tree_image

struct TreeNode {
  NodeId id;
  std::string text;
  int image = tree_image::kOther;
  std::vector<TreeNode> children;
};

// The whole tree: the ten roots in order with their children. Under お気に入り: the folders from slot
// 0 up to (not including) the first slot with an empty name, those whose flag is 0.
std::vector<TreeNode> BuildTree(const FolderTable& folders);
// The folder nodes alone, as BuildTree puts them under お気に入り.
std::vector<TreeNode> FolderNodes(const FolderTable& folders);

// True when the node is in the tree BuildTree makes of these folders.
bool NodeExists(NodeId node, const FolderTable& folders);

// What the list shows for a node: a folder's codes, the account, the history, a category's brands,
// or, for a root with no list of its own, the three index brands.
ListSource SourceOf(NodeId node);

// The node remembered in check_tree_hItem: (root + 1) * 1000 + child + 1, so 0 means none.
int32_t NodeKey(NodeId node);
// The node of a key, when it names a node of the tree.
std::optional<NodeId> NodeOfKey(int32_t key, const FolderTable& folders);
// Where the tree starts when no valid node is remembered: コード別 > すべて.
inline constexpr NodeId kDefaultNode{tree_root::kCodes, 0};

}  // namespace sorano
