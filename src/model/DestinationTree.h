#pragma once
// The structure that the three destination trees (files, shortcuts, registry) share: named
// nodes below the top node "%DestComp%", each carrying one item that the tree owns.
//
// Invariants that every operation keeps:
// - the children of a node list its containers (folders, keys) first, then its other items,
//   each group in order of creation;
// - a name is 1 to kMaxName bytes without "\", ",", CR or LF (the file forms could not hold
//   them back), and a full path is at most kMaxPath bytes; adds that would break this fail;
//   only a registry value may have an empty name: it is its key's default value;
// - names are looked up without regard to ASCII letter case through a per-node index, so
//   adding n nodes costs about n lookups, however many siblings they have.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/TextStore.h"
#include "model/DocumentBase.h"

class LineSink;

// What a node carries.
class TreeItem {
public:
    virtual ~TreeItem() = default;
    // Folders and keys hold children; everything else is a leaf.
    virtual bool IsContainer() const { return false; }
};

// A folder or a key. Fixed containers are the variable nodes that Reset creates: they are
// written to neither file form, and the editor neither renames nor deletes them.
class ContainerItem : public TreeItem {
public:
    explicit ContainerItem(bool fixed) : fixed_(fixed) {}
    bool IsContainer() const override { return true; }
    bool IsFixed() const { return fixed_; }

private:
    bool fixed_;
};

class TreeNode;

// A node's identity: given when the node is made and never again to any node of any tree in the
// process, not even once the node is gone. Who keeps a node beyond one step (a tree control's
// item, the folder a list shows) keeps its id and finds the node through NodeById when it uses
// it: a node removed since is found no more. Undo and redo read a part's nodes anew, so its
// nodes then have new ids, and what showed the old ones shows the part again.
using TreeNodeId = std::uint64_t;
constexpr TreeNodeId kNoTreeNode = 0;

// The children of a node that has any. A leaf carries none of this, so a large tree of files costs
// little more than their names (kept in the tree's text store) and items.
struct TreeChildren {
    std::vector<std::unique_ptr<TreeNode>> nodes;
    size_t containerCount = 0;  // nodes[0, containerCount) are the containers
    // The names of the children, hashed without regard to ASCII letter case: an open-addressing
    // table of the children themselves, made once there are more than a few of them (fewer are
    // searched in order). Empty slots are null; the table is never more than 70 % full.
    std::vector<TreeNode*> slots;
};

class TreeNode {
public:
    std::string Name() const { return std::string(NameView()); }
    std::string_view NameView() const { return TextStore::View(name_); }
    const TreeItem& Item() const { return *item_; }
    // Null for a top-level node.
    TreeNode* Parent() const;
    size_t ChildCount() const { return below_ ? below_->nodes.size() : 0; }
    // Null past the end.
    TreeNode* Child(size_t index) const;
    TreeNodeId Id() const { return id_; }

private:
    friend class DestinationTree;
    TreeNodeId id_ = kNoTreeNode;
    TextStore::Handle name_ = nullptr;  // in the tree's text store
    TreeNode* parent_ = nullptr;
    std::unique_ptr<TreeItem> item_;
    std::unique_ptr<TreeChildren> below_;  // made with the first child
};

// How names may repeat among the children of one node.
enum class SiblingNames {
    Unique,   // no two children share a name (files, shortcuts)
    PerKind,  // a container and a leaf may share a name, two of one kind may not (registry)
};

// One row of a short-path table: a path that begins with `prefix` loses (when shortening) or
// gains in front (when expanding) `change`. Rows are tried in order; prefixes are case-sensitive.
struct PathRule {
    const char* prefix;
    const char* change;
};

class DestinationTree : public Section {
public:
    static constexpr size_t kMaxName = 259;
    static constexpr size_t kMaxPath = 259;  // bytes; 260 with the terminating zero
    // Longer field texts (source paths, targets, string data) are cut at this length.
    static constexpr size_t kMaxText = 259;

    DestinationTree(const DestinationTree&) = delete;
    DestinationTree& operator=(const DestinationTree&) = delete;
    virtual ~DestinationTree() = default;

    using Section::SetModified;
    // Marks the document modified; the editor calls it after removing nodes.
    void SetModified() { Section::SetModified(true); }

    // The node at a full path such as "%DestComp%\%AppDir%\Bin", names compared without regard
    // to case; in a registry tree the key of that path. Null when there is none.
    TreeNode* Find(const std::string& path) const;
    // The child of `parent` with that name, in any letter case; in a registry tree `container`
    // chooses between the key and the value of that name (elsewhere names are unique anyway).
    TreeNode* FindChild(const TreeNode* parent, const std::string& name, bool container = true) const;
    // The names from the top node down, joined by "\".
    static std::string PathOf(const TreeNode* node);

    static bool IsContainer(const TreeNode* node) { return node && node->Item().IsContainer(); }
    static bool IsFixed(const TreeNode* node);
    // The container named exactly "%DestComp%" (case-sensitive).
    static bool IsTopNode(const TreeNode* node);

    // Navigation, as the tree pages of the editor use it.
    size_t TopLevelCount() const { return root_.ChildCount(); }
    TreeNode* TopLevel(size_t index) const { return root_.Child(index); }
    // The node's place among its siblings, counted from 0.
    static size_t Position(const TreeNode* node);
    // The positions from the top level down, in decimal, joined by `separator` ("0/2/1").
    static std::string IndexPath(const TreeNode* node, char separator);
    // The reverse of IndexPath: an empty path gives the first top-level node, a separator at
    // the end is ignored, a position past the last sibling gives null.
    TreeNode* FindByIndexPath(const std::string& indexPath, char separator) const;

    // The node of the tree with that id; null when it has none (it was removed, or belongs to
    // another tree). Containers are found at once, leaves by a walk of the tree.
    TreeNode* NodeById(TreeNodeId id) const;

    // Deletes the node with its whole subtree. Does not mark the document modified.
    void Remove(TreeNode* node);
    bool RemoveByIndexPath(const std::string& indexPath, char separator);

    // Calls fn(const TreeNode&) for every node depth first in pre-order: a node, then its
    // children in order, then its next sibling. Saving, exporting and the product archive all
    // visit the nodes in this order. The tree must not change during the walk.
    template <class Fn>
    void Walk(Fn fn) const {
        WalkBelow(root_, fn);
    }

    // The node's line in the project file; false for nodes that have none (fixed containers).
    virtual bool ProjectLine(const TreeNode& node, std::string& line) const = 0;

protected:
    explicit DestinationTree(SiblingNames rule) : rule_(rule) {}

    // Removes every node.
    void RemoveAll();
    // Removes every node, then creates fixed containers at `paths`, each below an earlier one.
    void CreateFixed(std::initializer_list<const char*> paths);

    // The leaf at a full path (in a registry tree: the value; elsewhere the same as Find).
    TreeNode* FindLeaf(const std::string& path) const;
    // Adds `item` at a full path. Missing containers on the way are created as user
    // containers and reported through `chainCreated`. Fails, creating nothing, when the path is
    // not valid, when its place is taken, when it crosses a leaf, or when `item` is a leaf and
    // the path has no parent part.
    TreeNode* AddAtPath(const std::string& path, std::unique_ptr<TreeItem> item, bool& chainCreated);
    // Adds `item` as the child `name` of the container `parent`; fails when the name is not
    // valid, is taken, or would make the path too long.
    TreeNode* AddChild(TreeNode* parent, const std::string& name, std::unique_ptr<TreeItem> item);
    // A user folder or key at a full path or under a container, marking the document when
    // asked and when the add succeeds.
    TreeNode* AddUserContainer(const std::string& path, bool markModified);
    TreeNode* AddUserContainer(TreeNode* parent, const std::string& name, bool markModified);
    // Renames a non-fixed node under the same rules; its own name in other letters is allowed.
    bool Rename(TreeNode* node, const std::string& name);
    static TreeItem& ItemOf(TreeNode* node) { return *node->item_; }
    // The store of the node names, for the texts of items that the tree keeps alike; cleared with
    // the nodes by RemoveAll, the only time its texts are let go.
    TextStore& Texts() { return texts_; }
    static TextStore::Handle NameHandle(const TreeNode* node) { return node->name_; }

    // Field texts may not hold a line end; those written between commas may not hold ",".
    static bool IsValidText(const std::string& text, bool mayHoldComma);
    static std::string CutText(const std::string& text) { return text.substr(0, kMaxText); }

    static std::string Shorten(const std::string& path, std::initializer_list<PathRule> rules);
    static std::string Expand(const std::string& shortPath, std::initializer_list<PathRule> rules);

    // The header, every ProjectLine in walk order and an empty line.
    bool SaveSection(LineSink& out, const std::string& header) const;

private:
    template <class Fn>
    static void WalkBelow(const TreeNode& node, Fn& fn) {
        if (!node.below_) return;
        for (const auto& child : node.below_->nodes) {
            fn(static_cast<const TreeNode&>(*child));
            WalkBelow(*child, fn);
        }
    }

    // The containers of the subtree at `node` leave the index of containers.
    void ForgetContainers(const TreeNode& node);
    bool IsValidName(std::string_view name, bool container) const;
    bool Matches(const TreeNode& node, std::string_view name, bool container) const;
    size_t NameHash(std::string_view name, bool container) const;
    void IndexChild(TreeChildren& below, TreeNode* child) const;
    void UnindexChild(TreeChildren& below, const TreeNode* child) const;
    TreeNode* Lookup(const TreeNode& parent, std::string_view name, bool container) const;
    TreeNode* FindNode(const std::string& path, bool container) const;
    bool IsValidPath(const std::string& path, bool container) const;
    TreeNode* ProvideContainers(std::string_view path, bool& created);
    TreeNode* Insert(TreeNode* parent, const std::string& name, std::unique_ptr<TreeItem> item);

    SiblingNames rule_;
    TextStore texts_;
    TreeNode root_;  // above the top level; carries no item
    // The containers by their ids: what the editor keeps ids of.
    std::unordered_map<TreeNodeId, TreeNode*> containers_;
};
