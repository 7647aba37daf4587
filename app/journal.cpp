#include "app/journal.h"

namespace {

// The next code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char first = byte(i);
    int length = 1;
    char32_t code = first;
    if (first >= 0xf0 && first < 0xf8) {
        length = 4;
        code = first & 0x07;
    } else if (first >= 0xe0) {
        length = 3;
        code = first & 0x0f;
    } else if (first >= 0xc0) {
        length = 2;
        code = first & 0x1f;
    }
    if (length == 1 || i + length > text.size()) {
        ++i;
        return first;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) {
            ++i;
            return first;
        }
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    i += length;
    return code;
}

// The place of a character in the order of the journal: lower case, and "ё" right after "е".
uint64_t sortWeight(char32_t c) {
    constexpr char32_t kCyrillicCapitalA = 0x410, kCyrillicCapitalYa = 0x42f;
    constexpr char32_t kCapitalYo = 0x401, kSmallYo = 0x451, kSmallIe = 0x435;
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
    if (c >= kCyrillicCapitalA && c <= kCyrillicCapitalYa) c += 0x20;
    if (c == kCapitalYo) c = kSmallYo;
    if (c == kSmallYo) return uint64_t{kSmallIe} * 2 + 1;
    return uint64_t{c} * 2;
}

}  // namespace

int CompareJournalNames(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const uint64_t x = sortWeight(nextCodePoint(a, i));
        const uint64_t y = sortWeight(nextCodePoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

JournalItem* JournalItem::FirstChild() const {
    return children_.empty() ? nullptr : children_.front().get();
}

std::size_t JournalItem::Index() const {
    const auto& siblings = *siblings_;
    const auto at = [&](std::size_t i) { return i < siblings.size() && siblings[i].get() == this; };
    for (const std::size_t guess : {indexGuess_, indexGuess_ + 1, indexGuess_ - 1})
        if (at(guess)) return guess;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) {
            indexGuess_ = i;
            return i;
        }
    }
    return siblings.size();
}

JournalItem* JournalItem::NextSibling() const {
    const std::size_t next = Index() + 1;
    return next < siblings_->size() ? (*siblings_)[next].get() : nullptr;
}

std::size_t Journal::InsertIndex(const std::vector<std::unique_ptr<JournalItem>>& siblings,
                                 const JournalPlace& place, const JournalItemSpec& shape,
                                 bool& found) const {
    found = true;
    switch (place.mode) {
        case JournalPlace::Mode::First:
            return 0;
        case JournalPlace::Mode::Last:
            return siblings.size();
        case JournalPlace::Mode::After:
            if (Contains(place.after) && place.after->siblings_ == &siblings)
                return place.after->Index() + 1;
            found = false;
            return 0;
        case JournalPlace::Mode::Sorted:
            for (std::size_t i = 0; i < siblings.size(); ++i) {
                const JournalItem& other = *siblings[i];
                if (other.Kind == shape.kind && CompareJournalNames(other.Name, shape.name) > 0)
                    return i;
            }
            return siblings.size();
    }
    return siblings.size();
}

JournalItem* Journal::Insert(JournalItem* parent, JournalPlace place, JournalItemSpec shape) {
    if (parent != nullptr && !Contains(parent)) return nullptr;
    auto& siblings = SiblingsOf(parent);
    bool found = false;
    const std::size_t index = InsertIndex(siblings, place, shape, found);
    if (!found) return nullptr;

    auto item = std::make_unique<JournalItem>();
    item->Kind = shape.kind;
    item->Name = std::move(shape.name);
    item->Renamable = shape.renamable;
    item->Section = shape.section;
    item->parent_ = parent;
    item->siblings_ = &siblings;
    item->indexGuess_ = index;
    JournalItem* raw = item.get();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    items_.insert(raw);
    if (view_ != nullptr) view_->Inserted(*raw);
    return raw;
}

void Journal::Forget(JournalItem& item) {
    for (const auto& child : item.children_) Forget(*child);
    items_.erase(&item);
    expanded_.erase(&item);
}

void Journal::Remove(JournalItem* item) {
    if (!Contains(item)) return;
    for (JournalItem* s = selected_; s != nullptr; s = s->parent_) {
        if (s == item) {
            Select(item->parent_);
            break;
        }
    }
    if (view_ != nullptr) view_->Removing(*item);
    Forget(*item);
    auto& siblings = SiblingsOf(item->parent_);
    // The item leaves the tree before it is freed, so nothing reaches it while its records go.
    const auto at = siblings.begin() + static_cast<std::ptrdiff_t>(item->Index());
    std::unique_ptr<JournalItem> gone = std::move(*at);
    siblings.erase(at);
}

void Journal::RemoveChildren(JournalItem* item) {
    if (!Contains(item)) return;
    while (!item->children_.empty()) Remove(item->children_.back().get());
}

void Journal::Clear() {
    Select(nullptr);
    while (!top_.empty()) Remove(top_.back().get());
}

void Journal::SetName(JournalItem* item, std::string name) {
    if (!Contains(item)) return;
    item->Name = std::move(name);
    if (view_ != nullptr) view_->TextChanged(*item);
}

void Journal::Select(JournalItem* item) {
    if (item != nullptr && !Contains(item)) return;
    if (item == selected_) return;
    selected_ = item;
    if (view_ != nullptr) view_->Selected(item);
    if (onSelect_) onSelect_(item);
}

void Journal::Expand(JournalItem* item) {
    if (!Contains(item)) return;
    expanded_.insert(item);
    if (view_ != nullptr) view_->Expanded(*item);
}

void Journal::EditLabel(JournalItem* item) {
    if (Contains(item) && view_ != nullptr) view_->EditLabel(*item);
}

void Journal::Walk(const std::function<void(JournalItem&)>& visit) const {
    const std::function<void(JournalItem&)> walk = [&](JournalItem& item) {
        visit(item);
        for (const auto& child : item.Children()) walk(*child);
    };
    for (const auto& item : top_) walk(*item);
}
