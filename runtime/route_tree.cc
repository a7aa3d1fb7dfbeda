// Route tree and request dispatch. Nodes and entries are carved from a
// process-lifetime arena: the tree is built once per request process and is
// never freed, so per-registration heap allocations would only cost time.
#include "runtime/route_tree.h"

#include <strings.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/log.h"
#include "runtime/session.h"

namespace {

constexpr size_t kPathBuf = 1024;

// Bump allocator for tree memory; blocks are never released.
class TreeArena {
public:
    void* alloc(size_t n)
    {
        n = (n + 7) & ~size_t(7);
        if (n > left_) {
            size_t sz = n > kBlock ? n : kBlock;
            cur_ = static_cast<char*>(block(sz));
            if (!cur_) {
                left_ = 0;
                return nullptr;
            }
            left_ = sz;
        }
        void* p = cur_;
        cur_ += n;
        left_ -= n;
        return p;
    }
    char* dup(const char* s, size_t len)
    {
        char* p = static_cast<char*>(alloc(len + 1));
        if (p) {
            memcpy(p, s, len);
            p[len] = '\0';
        }
        return p;
    }

private:
    // A fresh block with its pages mapped in one system call: a program
    // registers all its routes into the first block, and page faults, one per
    // page touched, would cost more than the registrations themselves.
    static void* block(size_t sz)
    {
        void* p = mmap(nullptr, sz, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        return p != MAP_FAILED ? p : malloc(sz);
    }
    static constexpr size_t kBlock = 32768;
    char* cur_ = nullptr;
    size_t left_ = 0;
};

TreeArena g_arena;

RouteDirNode* newNode(const char* name, size_t len)
{
    RouteDirNode* n = static_cast<RouteDirNode*>(g_arena.alloc(sizeof(RouteDirNode)));
    if (!n)
        return nullptr;
    n->name = g_arena.dup(name, len);
    if (!n->name)
        return nullptr;
    n->firstChild = n->nextSibling = nullptr;
    n->firstEntry = nullptr;
    return n;
}

// Finds or creates the child of `node` named by [seg, seg+len).
RouteDirNode* childOf(RouteDirNode* node, const char* seg, size_t len)
{
    for (RouteDirNode* c = node->firstChild; c; c = c->nextSibling)
        if (strncmp(c->name, seg, len) == 0 && c->name[len] == '\0')
            return c;
    RouteDirNode* c = newNode(seg, len);
    if (!c)
        return nullptr;
    c->nextSibling = node->firstChild;
    node->firstChild = c;
    return c;
}

// Finds or creates the node of `path`: its "/"-separated segments from the
// root, empty segments skipped, the path cut to the size of a path buffer.
// Works on the text in place; a registration resolves one directory per row.
RouteDirNode* walk(RouteTree* tree, const char* path)
{
    RouteDirNode* node = tree->root;
    const char* p = path ? path : "";
    const char* end = p + strnlen(p, kPathBuf - 1);
    while (node && p < end) {
        if (*p == '/') {
            ++p;
            continue;
        }
        const char* seg = p;
        while (p < end && *p != '/')
            ++p;
        node = childOf(node, seg, static_cast<size_t>(p - seg));
    }
    return node;
}

// The directory of the previous registration: route tables list the rows of
// one directory together, so most rows resolve their directory with one
// comparison. Nodes are never removed, so a remembered node stays valid.
// Keyed by the tree's root node, which (like every node) is never reused.
struct LastDir {
    const RouteDirNode* root;
    RouteDirNode* node;
    char path[kPathBuf];
};
LastDir g_lastDir;

RouteDirNode* resolveForAdd(RouteTree* tree, const char* dir)
{
    if (g_lastDir.node && g_lastDir.root == tree->root && strcmp(g_lastDir.path, dir) == 0)
        return g_lastDir.node;
    RouteDirNode* node = walk(tree, dir);
    size_t len = strlen(dir);
    if (node && len < kPathBuf) {
        memcpy(g_lastDir.path, dir, len + 1);
        g_lastDir.root = tree->root;
        g_lastDir.node = node;
    }
    return node;
}

}  // namespace

const char* methodText(uint32_t code)
{
    static const char* const kNames[] = {"GET", "POST", "DELETE", "PUT"};
    static char invalid[255];
    if (code < 4)
        return kNames[code];
    snprintf(invalid, sizeof invalid, "Invalid method '%d'", static_cast<int>(code));
    return invalid;
}

RouteTree* routeTreeCreate()
{
    RouteTree* tree = static_cast<RouteTree*>(g_arena.alloc(sizeof(RouteTree)));
    if (!tree)
        return nullptr;
    tree->root = newNode("", 0);
    return tree;
}

RouteDirNode* routeDirResolve(RouteTree* tree, const char* path)
{
    if (!tree || !tree->root)
        return nullptr;
    return walk(tree, path);
}

int httpdAddCContent(RouteTree* tree, const char* dir, const char* leaf, uint32_t method, int protection,
                     HandlerFn handler)
{
    RouteDirNode* node = tree && tree->root && dir ? resolveForAdd(tree, dir) : routeDirResolve(tree, dir);
    if (!node) {
        LOG(kLogError, "httpdAddCContent, dirPtr == NULL\n");
        return -1;
    }
    RouteEntry* e = static_cast<RouteEntry*>(g_arena.alloc(sizeof(RouteEntry)));
    char* leafCopy = e ? g_arena.dup(leaf, strlen(leaf)) : nullptr;
    if (!e || !leafCopy) {
        LOG(kLogError, "httpdAddCContent, newEntry == NULL\n");
        return -1;
    }
    e->leaf = leafCopy;
    e->method = method;
    e->protection = protection;
    e->handler = handler;
    e->next = node->firstEntry;
    node->firstEntry = e;
    return 0;
}

void httpdProcessRequest(RouteTree* tree)
{
    const char* uri = getenv("REQUEST_URI");
    if (!uri)
        return;
    char copy[kPathBuf];
    snprintf(copy, sizeof copy, "%s", uri);
    // Only the path takes part in matching: a "/" in the query string (from
    // the first "?") must not move the split.
    copy[strcspn(copy, "?")] = '\0';
    char* slash = strrchr(copy, '/');
    if (!slash) {
        printf("Invalid request path '%s'\n", copy);
        return;
    }
    // The leaf is what follows the last "/" of the path.
    char leafBuf[kPathBuf];
    snprintf(leafBuf, sizeof leafBuf, "%s", slash + 1);
    if (slash == copy)
        copy[1] = '\0';
    else
        *slash = '\0';
    RouteDirNode* node = tree && tree->root ? walk(tree, copy) : nullptr;
    if (!node)
        return;
    const char* method = getenv("REQUEST_METHOD");
    RouteEntry* hit = nullptr;
    if (method) {
        for (RouteEntry* e = node->firstEntry; e; e = e->next) {
            if (strcasecmp(methodText(e->method), method) == 0 && strcmp(e->leaf, leafBuf) == 0) {
                hit = e;
                break;
            }
        }
    }
    if (!hit) {
        LOG(kLogError, "method not found:%s\n%s\n%s\n", uri, node->name, leafBuf);
        return;
    }
    if (hit->protection != 0 &&
        checkSessionX(getenv("HTTP_SESSION"), getenv("HTTP_REFRESH"), hit) == -1) {
        LOG(kLogError, "403 Forbidden\n");
        fputs("Status:403\r\n\r\n", stdout);
        return;
    }
    if (strncmp(uri, "/api/v2/", 8) == 0)
        fputs("Content-Type: application/json\r\n\r\n", stdout);
    hit->handler();
}
