// The five web services of the main window, in order of precedence, and the composition of a
// service's request URL around the query text.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace ulmora {

enum class PieceKind : std::uint8_t { Literal, Query };

struct UrlPiece {
  PieceKind kind;
  const char* literal;  // Literal pieces only: plain ASCII in its final URL form
};

inline constexpr std::uint32_t kMaxUrlPieces = 5;

struct SearchService {
  std::uint32_t choice;     // identity of the RadioBox that selects the service
  const char* choiceName;   // that control's name in the window description
  const char* caption;      // that control's caption
  const char* host;         // host name of the service's endpoint
  std::uint32_t pieceCount;
  UrlPiece pieces[kMaxUrlPieces];
};

inline constexpr std::uint32_t kSearchServiceCount = 5;
extern const SearchService SearchServices[kSearchServiceCount];

// Host of the registrar that runs the domain check; only travels inside that request.
extern const char* const RegistrarHost;

// Returns the current query as a fresh text owned by the caller, or null when it is empty.
using QueryReader = Text (*)(void* context);

// The row's URL as a new text owned by the caller. readQuery runs once per query piece, in URL
// order; every text it returned is released, in read order, once the URL exists.
Text ComposeSearchUrl(const SearchService& row, QueryReader readQuery, void* context);

}  // namespace ulmora
