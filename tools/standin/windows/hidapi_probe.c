/* hidapi-standin-probe.exe: hidapi's own Windows backend (windows/hid.c) against whatever
 * hid.dll and cfgmgr32.dll it loads. Lists the light's interfaces, opens the first,
 * writes the 65-byte status request and reads the reply; prints each step.
 *   hidapi-standin-probe [--expect-none | --expect-no-open | --expect-write-fails | --expect-no-reply]
 *   hidapi-standin-probe --two-handles        the reply reaches a second handle of the interface too
 *   hidapi-standin-probe --dies-after FILE    after an exchange, waits for FILE, then expects the
 *                                     handle to be dead (the light was unplugged meanwhile)
 *   hidapi-standin-probe --watch MS           a hidden "usb_test msg window" that prints each
 *                                     WM_DEVICECHANGE it gets for MS milliseconds
 * Exit 0 when what happened is what was expected (by default: a whole exchange). */
#include <hidapi/hidapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>
#include <dbt.h>

enum { VENDOR = 0x5046, PRODUCT = 0x5631, REPORT = 65, REPLY = 64, STATUS = 0x12, MARK_AT = 12, MARK = 0x0F };

static void show(const unsigned char *bytes, int count)
{
    for (int i = 0; i < count; ++i)
        printf("%02x", bytes[i]);
    printf("\n");
}

static LRESULT CALLBACK watch_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DEVICECHANGE) {
        const DEV_BROADCAST_HDR *header = (const DEV_BROADCAST_HDR *)lparam;
        printf("notify 0x%04x", (unsigned)wparam);
        if (header != NULL && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const DEV_BROADCAST_DEVICEINTERFACE_A *record = (const DEV_BROADCAST_DEVICEINTERFACE_A *)lparam;
            printf(" type=5 class=%08lx name=%s", record->dbcc_classguid.Data1, record->dbcc_name);
        }
        printf("\n");
        fflush(stdout);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

/* The program's notification window as designed: class "usb_test msg window", never shown. */
static int watch(int milliseconds)
{
    WNDCLASSA window_class = {0};
    window_class.lpfnWndProc = watch_proc;
    window_class.hInstance = GetModuleHandleA(NULL);
    window_class.lpszClassName = "usb_test msg window";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, window_class.lpszClassName, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, window_class.hInstance, NULL);
    if (window == NULL)
        return 1;
    printf("watching\n");
    fflush(stdout);
    SetTimer(window, 1, (UINT)milliseconds, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageA(&message);
    return 0;
}

int main(int argc, char **argv)
{
    const char *expect = argc > 1 ? argv[1] : "--exchange";
    if (strcmp(expect, "--watch") == 0 && argc > 2)
        return watch(atoi(argv[2]));
    if (hid_init() != 0) {
        printf("init failed: %ls\n", hid_error(NULL));
        return 1;
    }
    struct hid_device_info *list = hid_enumerate(VENDOR, PRODUCT);
    int listed = 0;
    for (struct hid_device_info *node = list; node != NULL; node = node->next, ++listed)
        printf("interface %d path=%s ids=%04x:%04x release=%04x serial=%ls maker=%ls product=%ls usage=%04x:%04x bus=%d\n",
               node->interface_number, node->path, node->vendor_id, node->product_id, node->release_number,
               node->serial_number, node->manufacturer_string, node->product_string, node->usage_page,
               node->usage, (int)node->bus_type);
    printf("listed %d\n", listed);
    if (strcmp(expect, "--expect-none") == 0) {
        hid_free_enumeration(list);
        return listed == 0 ? 0 : 1;
    }
    if (list == NULL)
        return 1;
    char path[512];
    snprintf(path, sizeof path, "%s", list->path);
    hid_free_enumeration(list);
    hid_device *device = hid_open_path(path);
    if (device == NULL) {
        printf("open failed: %ls\n", hid_error(NULL));
        return strcmp(expect, "--expect-no-open") == 0 ? 0 : 1;
    }
    printf("opened\n");
    hid_device *second = NULL;
    if (strcmp(expect, "--two-handles") == 0 && (second = hid_open_path(path)) == NULL) {
        printf("second open failed: %ls\n", hid_error(NULL));
        return 1;
    }
    unsigned char request[REPORT] = {0x00, STATUS, 0x01};
    const int written = hid_write(device, request, sizeof request);
    printf("write %d\n", written);
    if (written != REPORT) {
        printf("write failed: %ls\n", hid_error(device));
        hid_close(device);
        return strcmp(expect, "--expect-write-fails") == 0 ? 0 : 1;
    }
    unsigned char reply[REPLY + 1];
    const int got = hid_read_timeout(device, reply, REPLY, 1000);
    printf("read %d\n", got);
    if (got > 0)
        show(reply, got);
    if (second != NULL) {
        const int copy = hid_read_timeout(second, reply, REPLY, 1000);
        printf("second read %d\n", copy);
        hid_close(second);
        if (copy != got)
            return 1;
    }
    if (strcmp(expect, "--dies-after") == 0 && argc > 2) {
        if (got != REPLY)
            return 1;
        printf("waiting\n");
        fflush(stdout);
        while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES)
            Sleep(20);
        const int late = hid_write(device, request, sizeof request);
        printf("late write %d\n", late);
        const int lateRead = late < 0 ? hid_read_timeout(device, reply, REPLY, 200) : 0;
        printf("late read %d\n", lateRead);
        hid_close(device);
        return late < 0 && lateRead < 0 ? 0 : 1;
    }
    hid_close(device);
    hid_exit();
    if (strcmp(expect, "--expect-no-reply") == 0)
        return got == 0 ? 0 : 1;
    const int whole = strcmp(expect, "--exchange") == 0 || strcmp(expect, "--two-handles") == 0;
    return (whole && got == REPLY && reply[1] == STATUS && reply[MARK_AT] == MARK) ? 0 : 1;
}
