#include "engine/CompareNoCase.h"

#include "base/DoubleByte.h"

namespace {

// One text made of up to two parts, read byte by byte from the front.
class Reader {
public:
    Reader(std::string_view first, std::string_view second) : first_(first), second_(second) {}
    bool AtEnd() const { return at_ >= first_.size() + second_.size(); }
    unsigned char Next() {
        size_t at = at_++;
        return static_cast<unsigned char>(at < first_.size() ? first_[at]
                                                             : second_[at - first_.size()]);
    }

private:
    std::string_view first_;
    std::string_view second_;
    size_t at_ = 0;
};

} // namespace

int CompareNoCase(const char* a, const char* b) {
    return CompareNoCase(std::string_view(a), std::string_view(b));
}

int CompareNoCase(std::string_view a, std::string_view b) {
    return CompareNoCaseJoined(a, std::string_view(), b, std::string_view());
}

int CompareNoCaseJoined(std::string_view aFirst, std::string_view aSecond, std::string_view bFirst,
                        std::string_view bSecond) {
    const LeadBytes& table = LeadBytes::Ansi();
    Reader a(aFirst, aSecond);
    Reader b(bFirst, bSecond);
    // Both texts are the same up to the current byte, so one state serves both:
    // whether that byte is the second byte of a double-byte character, which is
    // compared as it is (folding it would make different characters equal).
    bool trailByte = false;
    while (!a.AtEnd() && !b.AtEnd()) {
        unsigned char left = a.Next();
        unsigned char right = b.Next();
        if (!trailByte) {
            left = FoldAsciiCase(left);
            right = FoldAsciiCase(right);
        }
        if (left != right)
            return left - right;
        trailByte = !trailByte && table.IsLead(left);
    }
    // An ended text counts as a zero byte against the other's next byte.
    int left = a.AtEnd() ? 0 : (trailByte ? a.Next() : FoldAsciiCase(a.Next()));
    int right = b.AtEnd() ? 0 : (trailByte ? b.Next() : FoldAsciiCase(b.Next()));
    return left - right;
}

void AppendFoldedKey(std::string& out, std::string_view first, std::string_view second) {
    const LeadBytes& table = LeadBytes::Ansi();
    Reader text(first, second);
    bool trailByte = false;
    while (!text.AtEnd()) {
        unsigned char byte = text.Next();
        out.push_back(static_cast<char>(trailByte ? byte : FoldAsciiCase(byte)));
        trailByte = !trailByte && table.IsLead(byte);
    }
}
