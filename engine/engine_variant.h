// The variants the engine is asked to play.
#pragma once

namespace tandemora {

// In bughouse a captured piece goes to the partner's board, so the engine never fills its own
// pocket; in crazyhouse it goes to the capturer's.
enum class EngineVariant { kCrazyhouse, kBughouse };

// The name the engine's UCI_Variant option takes.
inline const char* engineVariantName(EngineVariant variant) {
    return variant == EngineVariant::kBughouse ? "bughouse" : "crazyhouse";
}

}  // namespace tandemora
