#include "toolkit/menus/menu_resource.h"

namespace qiva {

namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    bool Has(std::size_t n) const { return data_.size() - at_ >= n; }
    bool AtEnd() const { return at_ == data_.size(); }
    std::uint8_t Byte() { return data_[at_++]; }
    std::int16_t Word() {
        const auto v = static_cast<std::int16_t>((data_[at_] << 8) | data_[at_ + 1]);
        at_ += 2;
        return v;
    }
    std::uint32_t Long() {
        const std::uint32_t v = (std::uint32_t{data_[at_]} << 24) | (std::uint32_t{data_[at_ + 1]} << 16) |
                                (std::uint32_t{data_[at_ + 2]} << 8) | data_[at_ + 3];
        at_ += 4;
        return v;
    }
    // A length-prefixed string; false when it runs past the end.
    bool PString(std::string& out) {
        if (!Has(1)) return false;
        const std::size_t n = Byte();
        if (!Has(n)) return false;
        out.assign(reinterpret_cast<const char*>(data_.data() + at_), n);
        at_ += n;
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
};

} // namespace

std::optional<ParsedMenu> ParseMenuResource(std::span<const std::uint8_t> data) {
    Reader in(data);
    if (!in.Has(14)) return std::nullopt;
    ParsedMenu menu;
    menu.id = in.Word();
    menu.width = in.Word();
    menu.height = in.Word();
    menu.procId = in.Word();
    in.Word(); // filler
    menu.enableFlags = in.Long();
    if (!in.PString(menu.title)) return std::nullopt;
    while (!in.AtEnd()) {
        ParsedItem item;
        if (!in.PString(item.text)) return std::nullopt;
        if (item.text.empty()) break;
        if (!in.Has(4)) return std::nullopt;
        item.icon = in.Byte();
        item.key = in.Byte();
        item.mark = in.Byte();
        item.style = in.Byte();
        const std::size_t number = menu.items.size() + 1;
        item.enabled = number > 31 || ((menu.enableFlags >> number) & 1) != 0;
        menu.items.push_back(std::move(item));
    }
    return menu;
}

std::optional<std::vector<std::int16_t>> ParseMenuBarResource(std::span<const std::uint8_t> data) {
    Reader in(data);
    if (!in.Has(2)) return std::nullopt;
    const std::int16_t count = in.Word();
    if (count < 0 || !in.Has(static_cast<std::size_t>(count) * 2)) return std::nullopt;
    std::vector<std::int16_t> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(in.Word());
    return ids;
}

} // namespace qiva
