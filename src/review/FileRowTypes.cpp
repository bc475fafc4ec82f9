#include "review/FileRowTypes.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/TextCompare.h"

namespace quillon::review {

namespace {

constexpr std::array<std::string_view, 6> OwnIcons{".exe", ".ico", ".lnk", ".cur", ".ani", ".scr"};

std::string extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : toLowerAnsi(name.substr(dot));
}

bool carriesOwnIcon(const FileRow& row) {
    return row.isFolder || std::find(OwnIcons.begin(), OwnIcons.end(), extensionOf(row.name)) != OwnIcons.end();
}

}  // namespace

const std::optional<FileTypeInfo>& FileRowTypes::ofExtension(const FileRow& row) {
    const std::string extension = extensionOf(row.name);
    auto known = byExtension_.find(extension);
    if (known == byExtension_.end()) {
        FileTypeInfo type;
        std::optional<FileTypeInfo> answer;
        if (succeeded(shell_.fileType(row.fullPath(), type))) answer = std::move(type);
        known = byExtension_.emplace(extension, std::move(answer)).first;
    }
    return known->second;
}

const std::string& FileRowTypes::typeName(FileRow& row) {
    if (!row.typeKnown) {
        row.typeKnown = true;
        if (const auto& type = ofExtension(row)) row.typeName = type->typeName;
    }
    return row.typeName;
}

int FileRowTypes::icon(FileRow& row) {
    if (row.iconKnown) return row.iconIndex;
    row.iconKnown = true;
    if (carriesOwnIcon(row)) {
        FileTypeInfo type;
        if (succeeded(shell_.fileType(row.fullPath(), type))) row.iconIndex = type.iconIndex;
    } else if (const auto& type = ofExtension(row)) {
        row.iconIndex = type->iconIndex;
    }
    return row.iconIndex;
}

}  // namespace quillon::review
