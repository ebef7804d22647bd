#pragma once

#include <string_view>

// Making names safe where they land in a page.
namespace tabulon {

// & < > " ' as character references, for text and attribute values.
template <class Out> void appendHtmlEscaped(Out& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* reference = nullptr;
        switch (text[i]) {
        case '&':
            reference = "&amp;";
            break;
        case '<':
            reference = "&lt;";
            break;
        case '>':
            reference = "&gt;";
            break;
        case '"':
            reference = "&quot;";
            break;
        case '\'':
            reference = "&#39;";
            break;
        default:
            continue;
        }
        out.append(text.data() + start, i - start);
        out.append(reference, std::string_view(reference).size());
        start = i + 1;
    }
    out.append(text.data() + start, text.size() - start);
}

// A path for href and src: each segment percent-encoded as UTF-8 bytes, '/'
// kept; only unreserved characters stay as they are, so a ':' can never make
// the first segment read as a scheme, and a '\' (part of a name) is %5C.
template <class Out> void appendUrlEscaped(Out& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                                byte == '~' || byte == '/';
        if (unreserved) {
            out.append(&c, 1);
        } else {
            const char encoded[3] = {'%', kHex[byte >> 4], kHex[byte & 0xF]};
            out.append(encoded, 3);
        }
    }
}

} // namespace tabulon
