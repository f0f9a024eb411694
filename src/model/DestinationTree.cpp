#include "model/DestinationTree.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/Path.h"
#include "core/Text.h"
#include "model/Variables.h"
#include "profile/LineSink.h"

static const size_t npos = std::string::npos;

TreeNode* TreeNode::Parent() const {
    // The hidden root above the top level carries no item.
    return parent_ && parent_->item_ ? parent_ : nullptr;
}

TreeNode* TreeNode::Child(size_t index) const { return index < ChildCount() ? below_->nodes[index].get() : nullptr; }

bool DestinationTree::IsFixed(const TreeNode* node) {
    auto container = node ? dynamic_cast<const ContainerItem*>(&node->Item()) : nullptr;
    return container && container->IsFixed();
}

bool DestinationTree::IsTopNode(const TreeNode* node) { return IsContainer(node) && node->NameView() == kDestComp; }

bool DestinationTree::IsValidName(std::string_view name, bool container) const {
    if (name.empty()) return !container && rule_ == SiblingNames::PerKind;
    return name.size() <= kMaxName && name.find_first_of("\\,\r\n") == npos;
}

bool DestinationTree::IsValidText(const std::string& text, bool mayHoldComma) {
    return text.find_first_of(mayHoldComma ? "\r\n" : ",\r\n") == npos;
}

// Every component but the last names a container.
bool DestinationTree::IsValidPath(const std::string& path, bool container) const {
    if (path.size() > kMaxPath) return false;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        std::string_view name = std::string_view(path).substr(start, end == npos ? npos : end - start);
        if (!IsValidName(name, end == npos ? container : true)) return false;
        if (end == npos) return true;
        start = end + 1;
    }
}

// Siblings up to this many are searched in order; more get a table of their names.
static const size_t kSearchedInOrder = 8;

bool DestinationTree::Matches(const TreeNode& node, std::string_view name, bool container) const {
    return EqualNoCase(node.NameView(), name) &&
           (rule_ == SiblingNames::Unique || node.item_->IsContainer() == container);
}

// FNV-1a over the name in ASCII lower case; under the per-kind rule a key and a value of one
// name fall into different places.
size_t DestinationTree::NameHash(std::string_view name, bool container) const {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        hash = (hash ^ (byte >= 'A' && byte <= 'Z' ? byte + 32 : byte)) * 1099511628211ull;
    }
    if (rule_ == SiblingNames::PerKind && container) hash = (hash ^ '\\') * 1099511628211ull;
    return static_cast<size_t>(hash ^ (hash >> 29));
}

// Adds a child to the name table, making or growing the table when it is due.
void DestinationTree::IndexChild(TreeChildren& below, TreeNode* child) const {
    auto place = [&](TreeNode* node) {
        const size_t mask = below.slots.size() - 1;
        size_t i = NameHash(node->NameView(), node->item_->IsContainer()) & mask;
        while (below.slots[i]) i = (i + 1) & mask;
        below.slots[i] = node;
    };
    const size_t count = below.nodes.size();
    if (below.slots.empty() && count <= kSearchedInOrder) return;
    if (!below.slots.empty() && count * 10 <= below.slots.size() * 7) return place(child);
    size_t size = 16;
    while (count * 20 > size * 7) size *= 2;  // a new table starts at most 35 % full
    below.slots.assign(size, nullptr);
    for (const auto& node : below.nodes) place(node.get());
}

// Takes a child out of the name table, moving later entries of its probe run back into the gap
// so that every entry stays reachable from its home slot.
void DestinationTree::UnindexChild(TreeChildren& below, const TreeNode* child) const {
    if (below.slots.empty()) return;
    const size_t mask = below.slots.size() - 1;
    auto home = [&](const TreeNode* node) { return NameHash(node->NameView(), node->item_->IsContainer()) & mask; };
    size_t gap = home(child);
    while (below.slots[gap] != child) gap = (gap + 1) & mask;
    for (size_t next = (gap + 1) & mask; below.slots[next]; next = (next + 1) & mask) {
        // An entry may move into the gap unless its home lies cyclically in (gap, next].
        const size_t want = home(below.slots[next]);
        const bool homeAfterGap = gap < next ? (want > gap && want <= next) : (want > gap || want <= next);
        if (homeAfterGap) continue;
        below.slots[gap] = below.slots[next];
        gap = next;
    }
    below.slots[gap] = nullptr;
}

TreeNode* DestinationTree::Lookup(const TreeNode& parent, std::string_view name, bool container) const {
    if (!parent.below_) return nullptr;
    const TreeChildren& below = *parent.below_;
    if (below.slots.empty()) {
        for (const auto& child : below.nodes)
            if (Matches(*child, name, container)) return child.get();
        return nullptr;
    }
    const size_t mask = below.slots.size() - 1;
    for (size_t i = NameHash(name, container) & mask; below.slots[i]; i = (i + 1) & mask)
        if (Matches(*below.slots[i], name, container)) return below.slots[i];
    return nullptr;
}

// Every component but the last is a container; the last is looked up as `container` says.
TreeNode* DestinationTree::FindNode(const std::string& path, bool container) const {
    if (path.empty() || path.size() > kMaxPath) return nullptr;
    const TreeNode* node = &root_;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        bool last = end == npos;
        std::string_view name = std::string_view(path).substr(start, last ? npos : end - start);
        TreeNode* next = Lookup(*node, name, last ? container : true);
        if (!next || last) return next;
        node = next;
        start = end + 1;
    }
}

TreeNode* DestinationTree::Find(const std::string& path) const { return FindNode(path, true); }

TreeNode* DestinationTree::FindChild(const TreeNode* parent, const std::string& name, bool container) const {
    return parent ? Lookup(*parent, name, container) : nullptr;
}

TreeNode* DestinationTree::FindLeaf(const std::string& path) const { return FindNode(path, false); }

std::string DestinationTree::PathOf(const TreeNode* node) {
    std::vector<std::string_view> names;
    for (; node; node = node->Parent()) names.push_back(node->NameView());
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!path.empty()) path += '\\';
        path += *it;
    }
    return path;
}

size_t DestinationTree::Position(const TreeNode* node) {
    const auto& siblings = node->parent_->below_->nodes;
    auto it = std::find_if(siblings.begin(), siblings.end(), [node](const auto& child) { return child.get() == node; });
    return static_cast<size_t>(it - siblings.begin());
}

std::string DestinationTree::IndexPath(const TreeNode* node, char separator) {
    std::string path;
    for (; node; node = node->Parent()) {
        std::string position = std::to_string(Position(node));
        path = path.empty() ? position : position + separator + path;
    }
    return path;
}

TreeNode* DestinationTree::FindByIndexPath(const std::string& indexPath, char separator) const {
    const TreeNode* parent = &root_;
    for (size_t start = 0;;) {
        size_t end = indexPath.find(separator, start);
        std::int32_t position = ReadLeadingInt(indexPath.substr(start, end == npos ? npos : end - start));
        if (position < 0) return nullptr;
        TreeNode* node = parent->Child(static_cast<size_t>(position));
        if (!node || end == npos || end + 1 == indexPath.size()) return node;
        parent = node;
        start = end + 1;
    }
}

TreeNode* DestinationTree::NodeById(TreeNodeId id) const {
    if (id == kNoTreeNode) return nullptr;
    const auto container = containers_.find(id);
    if (container != containers_.end()) return container->second;
    TreeNode* found = nullptr;
    Walk([&](const TreeNode& node) {
        if (!found && node.id_ == id) found = const_cast<TreeNode*>(&node);
    });
    return found;
}

void DestinationTree::ForgetContainers(const TreeNode& node) {
    if (!node.item_->IsContainer()) return;
    containers_.erase(node.id_);
    // The containers come first among the children.
    for (size_t i = 0; node.below_ && i < node.below_->containerCount; ++i) ForgetContainers(*node.below_->nodes[i]);
}

void DestinationTree::Remove(TreeNode* node) {
    if (!node) return;
    ForgetContainers(*node);
    TreeChildren& below = *node->parent_->below_;
    UnindexChild(below, node);
    if (node->item_->IsContainer()) --below.containerCount;
    below.nodes.erase(below.nodes.begin() + static_cast<std::ptrdiff_t>(Position(node)));
}

bool DestinationTree::RemoveByIndexPath(const std::string& indexPath, char separator) {
    TreeNode* node = FindByIndexPath(indexPath, separator);
    Remove(node);
    return node != nullptr;
}

void DestinationTree::RemoveAll() {
    root_.below_.reset();
    containers_.clear();
    texts_.Clear();
}

void DestinationTree::CreateFixed(std::initializer_list<const char*> paths) {
    RemoveAll();
    for (const char* path : paths) {
        std::string parentPath, name;
        SplitPath(path, parentPath, name);
        Insert(parentPath.empty() ? &root_ : Find(parentPath), name, std::make_unique<ContainerItem>(true));
    }
}

TreeNode* DestinationTree::Insert(TreeNode* parent, const std::string& name, std::unique_ptr<TreeItem> item) {
    // One counter for every tree, so that no id is ever given twice in the process.
    static std::atomic<TreeNodeId> lastId{kNoTreeNode};
    auto node = std::make_unique<TreeNode>();
    node->id_ = ++lastId;
    node->name_ = texts_.Add(name);
    node->parent_ = parent;
    node->item_ = std::move(item);
    TreeNode* added = node.get();
    if (!parent->below_) parent->below_ = std::make_unique<TreeChildren>();
    TreeChildren& below = *parent->below_;
    if (added->item_->IsContainer())
        below.nodes.insert(below.nodes.begin() + static_cast<std::ptrdiff_t>(below.containerCount++), std::move(node));
    else
        below.nodes.push_back(std::move(node));
    IndexChild(below, added);
    if (added->item_->IsContainer()) containers_.emplace(added->id_, added);
    return added;
}

// The path is valid, so nothing is created before a component that fails.
TreeNode* DestinationTree::ProvideContainers(std::string_view path, bool& created) {
    TreeNode* node = &root_;
    if (path.empty()) return node;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        std::string_view name = path.substr(start, end == npos ? npos : end - start);
        TreeNode* next = Lookup(*node, name, true);
        if (!next) {
            next = Insert(node, std::string(name), std::make_unique<ContainerItem>(false));
            created = true;
        } else if (!next->item_->IsContainer()) {
            return nullptr;
        }
        if (end == npos) return next;
        node = next;
        start = end + 1;
    }
}

TreeNode* DestinationTree::AddAtPath(const std::string& path, std::unique_ptr<TreeItem> item, bool& chainCreated) {
    chainCreated = false;
    bool container = item->IsContainer();
    if (!IsValidPath(path, container) || FindNode(path, container)) return nullptr;
    std::string parentPath, name;
    SplitPath(path, parentPath, name);
    if (parentPath.empty() && !container) return nullptr;
    TreeNode* parent = ProvideContainers(parentPath, chainCreated);
    return parent ? Insert(parent, name, std::move(item)) : nullptr;
}

TreeNode* DestinationTree::AddChild(TreeNode* parent, const std::string& name, std::unique_ptr<TreeItem> item) {
    if (!IsContainer(parent) || !IsValidName(name, item->IsContainer())) return nullptr;
    if (PathOf(parent).size() + 1 + name.size() > kMaxPath) return nullptr;
    if (Lookup(*parent, name, item->IsContainer())) return nullptr;
    return Insert(parent, name, std::move(item));
}

TreeNode* DestinationTree::AddUserContainer(const std::string& path, bool markModified) {
    bool chainCreated = false;
    TreeNode* node = AddAtPath(path, std::make_unique<ContainerItem>(false), chainCreated);
    if (node) SetModified(markModified);
    return node;
}

TreeNode* DestinationTree::AddUserContainer(TreeNode* parent, const std::string& name, bool markModified) {
    TreeNode* node = AddChild(parent, name, std::make_unique<ContainerItem>(false));
    if (node) SetModified(markModified);
    return node;
}

// The length of the longest path below `node`, counted from behind the node's own name.
static size_t LongestTail(const TreeNode& node) {
    size_t longest = 0;
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        const TreeNode& child = *node.Child(i);
        longest = std::max(longest, 1 + child.NameView().size() + LongestTail(child));
    }
    return longest;
}

bool DestinationTree::Rename(TreeNode* node, const std::string& name) {
    if (!node || IsFixed(node)) return false;
    bool container = node->item_->IsContainer();
    if (!IsValidName(name, container)) return false;
    TreeNode* same = Lookup(*node->parent_, name, container);
    if (same && same != node) return false;
    size_t pathLength = PathOf(node).size() - node->NameView().size() + name.size();
    if (pathLength + LongestTail(*node) > kMaxPath) return false;
    TreeChildren& below = *node->parent_->below_;
    UnindexChild(below, node);
    node->name_ = texts_.Add(name);
    IndexChild(below, node);
    return true;
}

std::string DestinationTree::Shorten(const std::string& path, std::initializer_list<PathRule> rules) {
    for (const PathRule& rule : rules)
        if (StartsWith(path, rule.prefix)) return path.substr(std::strlen(rule.change));
    return path;
}

std::string DestinationTree::Expand(const std::string& shortPath, std::initializer_list<PathRule> rules) {
    for (const PathRule& rule : rules)
        if (StartsWith(shortPath, rule.prefix)) return rule.change + shortPath;
    return shortPath;
}

bool DestinationTree::SaveSection(LineSink& out, const std::string& header) const {
    bool ok = out.WriteLine(header);
    std::string line;
    Walk([&](const TreeNode& node) {
        if (ProjectLine(node, line)) ok &= out.WriteLine(line);
    });
    ok &= out.WriteLine("");
    return ok;
}
