#pragma once

// The product's addresses and texts, in one place for whoever runs the product's site.
namespace help {

inline constexpr const char* kSiteAddress = "https://quillmark.example/";
inline constexpr const char* kForumAddress = "https://quillmark.example/forum/";
inline constexpr const char* kContactAddress = "mail@quillmark.example";
// The web site as a bare host name, as stamped on puzzle pictures.
inline constexpr const char* kSiteHost = "quillmark.example";
inline constexpr const char* kCreditLine = "Made with Quillmark";
inline constexpr const char* kLegalNoticeFirstLine = "Quillmark is free software.";
inline constexpr const char* kLegalNoticeSecondLine = "Puzzles made by its own engine.";

}  // namespace help
