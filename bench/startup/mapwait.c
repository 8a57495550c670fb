/*
 * mapwait: starts a program and reports how long it takes from exec until its top-level
 * window is mapped on the X server, and optionally its footprint once it is up.
 *
 *   mapwait [--timeout-ms N] [--end-after-ms N] [--footprint] -- PROGRAM [ARGS...]
 *
 * It selects SubstructureNotify on the root window before it forks, so no event can be
 * missed. The program's windows are recognised by their _NET_WM_PID property (the
 * toolkit sets it when it creates a window). With a reparenting window manager the
 * client window is put into a frame first (ReparentNotify on the root) and the frame's
 * MapNotify on the root is the moment the window appears; without one, the client's own
 * MapNotify is.
 *
 * Output, one "key=value" per line on standard output:
 *   pid            the program's process id
 *   map_ms         exec to MapNotify, milliseconds (CLOCK_MONOTONIC)
 * with --footprint, read one second after the map and over the five idle seconds after it:
 *   rss_kib pss_kib             from /proc/PID/smaps_rollup
 *   idle_cpu_ms                 utime+stime from /proc/PID/stat (clock-tick resolution)
 *   idle_cpu_ns                 the sum over /proc/PID/task/ST/schedstat (nanoseconds)
 * Then the program is sent SIGTERM and reaped. With --end-after-ms N (and no
 * --footprint) it is sent SIGTERM N milliseconds after the map instead.
 *
 * Exit status: 0 on success, 1 when the program exited or the timeout passed before a
 * window was mapped, 2 on a usage or X error.
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static void sleep_ms(long ms)
{
    struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

static xcb_atom_t intern(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t atom = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return atom;
}

/* The _NET_WM_PID of a window, or -1 when it has none (or is already gone). */
static long window_pid(xcb_connection_t *c, xcb_atom_t net_wm_pid, xcb_window_t w)
{
    xcb_get_property_reply_t *r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, net_wm_pid, XCB_ATOM_CARDINAL, 0, 1), NULL);
    long pid = -1;
    if (r && r->format == 32 && xcb_get_property_value_length(r) == 4)
        pid = (long)*(uint32_t *)xcb_get_property_value(r);
    free(r);
    return pid;
}

static int read_smaps_rollup(pid_t pid, long *rss_kib, long *pss_kib)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/smaps_rollup", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    *rss_kib = *pss_kib = -1;
    while (fgets(line, sizeof line, f)) {
        long v;
        if (sscanf(line, "Rss: %ld kB", &v) == 1)
            *rss_kib = v;
        else if (sscanf(line, "Pss: %ld kB", &v) == 1)
            *pss_kib = v;
    }
    fclose(f);
    return (*rss_kib >= 0 && *pss_kib >= 0) ? 0 : -1;
}

/* utime + stime of the whole process, in clock ticks. */
static long long read_stat_ticks(pid_t pid)
{
    char path[64], buf[4096];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = '\0';
    /* The command name may hold spaces and parentheses: fields start after the last ')'. */
    char *p = strrchr(buf, ')');
    if (!p)
        return -1;
    unsigned long long utime, stime;
    /* Fields 3..15: state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt utime stime */
    if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
        return -1;
    return (long long)(utime + stime);
}

/* CPU time of all threads, in nanoseconds, from the scheduler statistics. */
static long long read_schedstat_ns(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *d = opendir(path);
    if (!d)
        return -1;
    long long total = 0;
    struct dirent *e;
    while ((e = readdir(d))) {
        if (e->d_name[0] == '.')
            continue;
        char tpath[320];
        snprintf(tpath, sizeof tpath, "/proc/%d/task/%s/schedstat", (int)pid, e->d_name);
        FILE *f = fopen(tpath, "r");
        if (!f)
            continue; /* the thread ended meanwhile */
        long long ns;
        if (fscanf(f, "%lld", &ns) == 1)
            total += ns;
        fclose(f);
    }
    closedir(d);
    return total;
}

static void end_program(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 600; ++i) { /* up to 60 s: a program under valgrind writes its output */
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        sleep_ms(100);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

static void usage(void)
{
    fprintf(stderr, "usage: mapwait [--timeout-ms N] [--end-after-ms N] [--footprint] -- PROGRAM [ARGS...]\n");
    exit(2);
}

int main(int argc, char **argv)
{
    long timeout_ms = 120000, end_after_ms = 0;
    int footprint = 0, i = 1;
    for (; i < argc; ++i) {
        if (!strcmp(argv[i], "--timeout-ms") && i + 1 < argc)
            timeout_ms = atol(argv[++i]);
        else if (!strcmp(argv[i], "--end-after-ms") && i + 1 < argc)
            end_after_ms = atol(argv[++i]);
        else if (!strcmp(argv[i], "--footprint"))
            footprint = 1;
        else if (!strcmp(argv[i], "--")) {
            ++i;
            break;
        } else
            usage();
    }
    if (i >= argc)
        usage();

    int screen_number;
    xcb_connection_t *c = xcb_connect(NULL, &screen_number);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "mapwait: cannot open the display\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int s = 0; s < screen_number; ++s)
        xcb_screen_next(&it);
    xcb_window_t root = it.data->root;
    xcb_atom_t net_wm_pid = intern(c, "_NET_WM_PID");
    uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t ck = xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t *err = xcb_request_check(c, ck);
    if (err) {
        fprintf(stderr, "mapwait: cannot select SubstructureNotify on the root window\n");
        free(err);
        return 2;
    }

    fflush(NULL);
    const double t0 = now_ms();
    pid_t pid = fork();
    if (pid < 0) {
        perror("mapwait: fork");
        return 2;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(c));
        execvp(argv[i], argv + i);
        perror("mapwait: exec");
        _exit(127);
    }

    xcb_window_t frame = XCB_WINDOW_NONE;
    double map_ms = -1;
    struct pollfd pfd = {xcb_get_file_descriptor(c), POLLIN, 0};
    while (map_ms < 0) {
        xcb_generic_event_t *ev;
        while (map_ms < 0 && (ev = xcb_poll_for_event(c))) {
            const double t = now_ms();
            switch (ev->response_type & 0x7f) {
            case XCB_REPARENT_NOTIFY: {
                xcb_reparent_notify_event_t *r = (xcb_reparent_notify_event_t *)ev;
                if (r->parent != root && window_pid(c, net_wm_pid, r->window) == pid)
                    frame = r->parent;
                break;
            }
            case XCB_MAP_NOTIFY: {
                xcb_map_notify_event_t *m = (xcb_map_notify_event_t *)ev;
                if (m->window == frame ||
                    (frame == XCB_WINDOW_NONE && !m->override_redirect &&
                     window_pid(c, net_wm_pid, m->window) == pid))
                    map_ms = t - t0;
                break;
            }
            }
            free(ev);
        }
        if (map_ms >= 0)
            break;
        if (xcb_connection_has_error(c)) {
            fprintf(stderr, "mapwait: lost the X connection\n");
            end_program(pid);
            return 2;
        }
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "mapwait: the program ended before its window was mapped\n");
            return 1;
        }
        if (now_ms() - t0 > timeout_ms) {
            fprintf(stderr, "mapwait: no window mapped within %ld ms\n", timeout_ms);
            end_program(pid);
            return 1;
        }
        poll(&pfd, 1, 50);
    }
    printf("pid=%d\nmap_ms=%.2f\n", (int)pid, map_ms);
    fflush(stdout);

    if (footprint) {
        sleep_ms(1000);
        long rss, pss;
        if (read_smaps_rollup(pid, &rss, &pss) != 0) {
            fprintf(stderr, "mapwait: cannot read the memory of the program\n");
            end_program(pid);
            return 1;
        }
        const long long ticks0 = read_stat_ticks(pid), ns0 = read_schedstat_ns(pid);
        sleep_ms(5000);
        const long long ticks1 = read_stat_ticks(pid), ns1 = read_schedstat_ns(pid);
        if (ticks0 < 0 || ticks1 < 0 || ns0 < 0 || ns1 < 0) {
            fprintf(stderr, "mapwait: the program ended while idle\n");
            end_program(pid);
            return 1;
        }
        printf("rss_kib=%ld\npss_kib=%ld\n", rss, pss);
        printf("idle_cpu_ms=%.0f\n", (ticks1 - ticks0) * 1000.0 / sysconf(_SC_CLK_TCK));
        printf("idle_cpu_ns=%lld\n", ns1 - ns0);
    } else if (end_after_ms > 0) {
        sleep_ms(end_after_ms);
    }
    fflush(stdout);
    end_program(pid);
    xcb_disconnect(c);
    return 0;
}
