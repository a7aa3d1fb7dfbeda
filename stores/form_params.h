// Form-encoded request values: percent decoding, and one value taken by its
// exact name from a query text or a JSON text.
#pragma once

#include <cstddef>

/// Decodes `text` in place: "%" and two hexadecimal digits (either case)
/// become that byte, "+" a space; a "%" without two hexadecimal digits after
/// it stays as it is. A missing text is left alone.
void urlDecodeInPlace(char* text);

/// The value of the first "&"-separated item of `params` whose name (the
/// text before its "=") is exactly `key`; empty items and items without "="
/// are passed over. At most `size` - 1 characters of the value are copied to
/// `out`, then decoded with urlDecodeInPlace. 0; 10000 when the key is
/// absent or an argument is missing (`out` then holds the empty text when
/// there is room for it).
int queryParamDecodedGet(const char* params, const char* key, char* out, size_t size);

/// The string member `key` (found without regard to case, as every request
/// member) of the JSON object in `json`, copied and decoded as
/// queryParamDecodedGet does. 0; 10000 when the text is no JSON object, the
/// member is absent or no string, or an argument is missing.
int jsonParamDecodedGet(const char* json, const char* key, char* out, size_t size);
