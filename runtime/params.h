// Request parameter readers: the raw parameter text, "&"-separated lists,
// exact query-string lookups and JSON body members.
#pragma once

#include <cstddef>
#include <cstdint>

struct cJSON;

/// Query string (GET, DELETE; at most 8192 characters) or body (POST, PUT,
/// CONTENT_LENGTH characters) as a heap text the caller frees; nullptr for
/// other methods.
char* requestDataGet();

/// Splits at "&" into owned pieces followed by a nullptr slot.
char** paramListSplit(const char* text);
/// Value (text after "=") of the first piece containing `key` and an "=".
char* paramListFind(const char* key, char** list);
void paramListFree(char** list);

/// Copies a string member (bounded copy of `len`); 0, or 10003 when missing.
int getStrAndCpyTo(const cJSON* req, const char* name, char* dst, size_t len);
/// Stores an integer member; 0, or 10003 when missing.
int getIntAndCpyTo(const cJSON* req, const char* name, int32_t* dst);

/// Exact query reader: the text after "=" where `name` starts QUERY_STRING
/// or follows "&" and is followed by "=" (the rest of QUERY_STRING); nullptr
/// when absent.
const char* queryExactValue(const char* name);
/// Exact query reader: the decimal value of `name` where it starts
/// QUERY_STRING or follows "&" and is followed by "="; 0 when absent.
uint32_t queryExactU32(const char* name);
/// Whether the exact reader finds `name` at all.
bool queryExactHas(const char* name);
/// Exact reader for an IPv4 address (host order); 0 when absent or invalid.
uint32_t queryExactIpv4(const char* name);
/// Split reader: decimal value of `name` in the request text; 0 when absent.
uint32_t paramListU32(const char* key, char** list, bool* found = nullptr);
