// Per-process route tree: directory nodes by path segment, leaf entries by
// leaf and method, and the dispatcher that serves one CGI request from it.
#pragma once

#include <cstdint>

/// A route handler reads the request itself and writes the response body.
typedef int (*HandlerFn)(void);

/// Method codes of a registration.
enum MethodCode : uint32_t { kMethodGet = 0, kMethodPost = 1, kMethodDelete = 2, kMethodPut = 3 };

struct RouteEntry {
    char* leaf;
    uint32_t method;
    int32_t protection;
    HandlerFn handler;
    RouteEntry* next;
};

struct RouteDirNode {
    char* name;
    RouteDirNode* firstChild;
    RouteDirNode* nextSibling;
    RouteEntry* firstEntry;
};

struct RouteTree {
    RouteDirNode* root;
};

/// Allocates an empty tree; nullptr when the holder cannot be allocated.
RouteTree* routeTreeCreate();
/// Walks the directory path, creating missing nodes; returns the last node.
RouteDirNode* routeDirResolve(RouteTree* tree, const char* path);
/// Registers one route; 0 on success, -1 (logged) on failure.
int httpdAddCContent(RouteTree* tree, const char* dir, const char* leaf, uint32_t method, int protection,
                     HandlerFn handler);
/// Serves the one request named by the CGI environment.
void httpdProcessRequest(RouteTree* tree);
/// "GET", "POST", "DELETE", "PUT", or "Invalid method '<code>'".
const char* methodText(uint32_t code);
