/* Direct-exec benchmark: runs one CGI program N times in a row with a CGI
 * environment, the way the web server would start it (body on stdin, answer
 * read from a pipe), and prints wall time statistics per request and the
 * peak resident set of the children.
 *
 *   exec_bench [-n RUNS] [-w WARMUP] [-m METHOD] [-u URI] [-q QUERY] [-b BODY]
 *              [-s SESSION] [-o FIRST_ANSWER_FILE] PROGRAM [PROGRAM...]
 *
 * With several programs (variants of one program, for a before/after
 * comparison) the runs alternate between them, one line per program in
 * order, so that a change in the machine's load weighs on all alike.
 *
 * Output, one line per program: runs mean_us sd_us p50_us p99_us maxrss_kib minflt failures cpu_us
 * (maxrss_kib: the largest peak resident set of a run; minflt: minor page
 * faults per run; a failure is a non-zero exit status or an empty answer;
 * cpu_us: mean user and system time of a run).
 * Written in C on purpose: the peak resident set the kernel reports for a
 * child includes the launcher's own at the time of the exec, so the launcher
 * is kept small. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowUs(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

static int cmpDouble(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

/* One run; returns wall microseconds, or -1 on a failed start. */
static double runOnce(char* const argv[], char* const envp[], const char* body, FILE* keep, int* failed,
                      long* maxrss, long* minflt, double* cpu)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    double t0 = nowUs();
    pid_t pid;
    int rc = posix_spawn(&pid, argv[0], &fa, NULL, argv, envp);
    posix_spawn_file_actions_destroy(&fa);
    close(in[0]);
    close(out[1]);
    if (rc != 0) {
        close(in[1]);
        close(out[0]);
        errno = rc;
        perror(argv[0]);
        return -1;
    }
    size_t len = strlen(body), off = 0;
    while (off < len) {
        ssize_t w = write(in[1], body + off, len - off);
        if (w <= 0)
            break;
        off += (size_t)w;
    }
    close(in[1]);
    char buf[65536];
    ssize_t n;
    size_t total = 0;
    while ((n = read(out[0], buf, sizeof buf)) > 0) {
        total += (size_t)n;
        if (keep)
            fwrite(buf, 1, (size_t)n, keep);
    }
    close(out[0]);
    int st = 0;
    struct rusage ru;
    wait4(pid, &st, 0, &ru);
    double t = nowUs() - t0;
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0 || total == 0)
        ++*failed;
    if (ru.ru_maxrss > *maxrss)
        *maxrss = ru.ru_maxrss;
    *minflt += ru.ru_minflt;
    *cpu += (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e6 + ru.ru_utime.tv_usec + ru.ru_stime.tv_usec;
    return t;
}

int main(int argc, char** argv)
{
    int runs = 300, warmup = 10;
    const char *method = "GET", *uri = "/", *query = "", *body = "", *session = "bench-admin", *first = NULL;
    int c;
    while ((c = getopt(argc, argv, "n:w:m:u:q:b:s:o:")) != -1) {
        switch (c) {
        case 'n': runs = atoi(optarg); break;
        case 'w': warmup = atoi(optarg); break;
        case 'm': method = optarg; break;
        case 'u': uri = optarg; break;
        case 'q': query = optarg; break;
        case 'b': body = optarg; break;
        case 's': session = optarg; break;
        case 'o': first = optarg; break;
        default:
            fprintf(stderr, "usage: exec_bench [-n RUNS] [-w WARMUP] [-m METHOD] [-u URI] [-q QUERY] [-b BODY] "
                            "[-s SESSION] [-o FILE] PROGRAM [PROGRAM...]\n");
            return 2;
        }
    }
    if (optind >= argc || runs < 1) {
        fprintf(stderr, "exec_bench: no program\n");
        return 2;
    }
    char e[8][1200];
    char* envp[9];
    int ne = 0;
    const char* sock = getenv("SWITCHSIM_SOCKET");
    snprintf(e[ne++], sizeof e[0], "REQUEST_URI=%s%s%s", uri, *query ? "?" : "", query);
    snprintf(e[ne++], sizeof e[0], "REQUEST_METHOD=%s", method);
    snprintf(e[ne++], sizeof e[0], "QUERY_STRING=%s", query);
    snprintf(e[ne++], sizeof e[0], "HTTP_SESSION=%s", session);
    snprintf(e[ne++], sizeof e[0], "PATH=/usr/bin:/bin");
    if (*body || strcmp(method, "PUT") == 0 || strcmp(method, "POST") == 0)
        snprintf(e[ne++], sizeof e[0], "CONTENT_LENGTH=%zu", strlen(body));
    if (sock)
        snprintf(e[ne++], sizeof e[0], "SWITCHSIM_SOCKET=%s", sock);
    for (int i = 0; i < ne; ++i)
        envp[i] = e[i];
    envp[ne] = NULL;

    int np = argc - optind;
    struct Stats {
        double* t;
        double sum, cpu;
        long maxrss, minflt;
        int failed;
    }* st = calloc((size_t)np, sizeof *st);
    /* The first run (a warm-up one when there are any) keeps its answer. */
    FILE* keep = first ? fopen(first, "w") : NULL;
    for (int i = 0; i < warmup; ++i) {
        for (int k = 0; k < np; ++k) {
            char* args[] = {argv[optind + k], NULL};
            int f = 0;
            long r = 0, m = 0;
            double u = 0;
            if (runOnce(args, envp, body, keep, &f, &r, &m, &u) < 0)
                return 1;
            if (keep) {
                fclose(keep);
                keep = NULL;
            }
        }
    }
    for (int k = 0; k < np; ++k)
        st[k].t = calloc((size_t)runs, sizeof(double));
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < np; ++k) {
            char* args[] = {argv[optind + k], NULL};
            double t = runOnce(args, envp, body, keep, &st[k].failed, &st[k].maxrss, &st[k].minflt, &st[k].cpu);
            if (keep) {
                fclose(keep);
                keep = NULL;
            }
            if (t < 0)
                return 1;
            st[k].t[i] = t;
            st[k].sum += t;
        }
    }
    for (int k = 0; k < np; ++k) {
        double* t = st[k].t;
        double mean = st[k].sum / runs, var = 0;
        for (int i = 0; i < runs; ++i)
            var += (t[i] - mean) * (t[i] - mean);
        double sd = runs > 1 ? sqrt(var / (runs - 1)) : 0;
        qsort(t, (size_t)runs, sizeof *t, cmpDouble);
        double p50 = t[runs / 2], p99 = t[(int)(runs * 0.99) < runs ? (int)(runs * 0.99) : runs - 1];
        printf("%d %.1f %.1f %.1f %.1f %ld %ld %d %.1f\n", runs, mean, sd, p50, p99, st[k].maxrss, st[k].minflt / runs,
               st[k].failed, st[k].cpu / runs);
        free(t);
    }
    free(st);
    return 0;
}
