/* The local adapter library's interface: a chain of adapter records, valid until the next clear. */
#ifndef FIELDMATE_LOCAL_ADAPTER_API_H
#define FIELDMATE_LOCAL_ADAPTER_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C"
{
#endif

#define LOCAL_ADAPTER_MAX_ADDRESSES 10

    struct local_adapter_address
    {
        char ip[16];    /* dotted decimal, zero-terminated */
        char mask[16];  /* dotted decimal, zero-terminated */
        char other[16]; /* broadcast address; callers do not read it */
    };

    struct local_adapter_info
    {
        uint8_t state;         /* 1: up and usable */
        uint8_t mac[8];        /* the first 6 bytes are the MAC */
        char description[132]; /* zero-terminated, locale codeset */
        char name[260];        /* interface name, zero-terminated */
        int32_t address_count; /* IPv4 entries in addresses */
        struct local_adapter_address addresses[LOCAL_ADAPTER_MAX_ADDRESSES];
        uint32_t reserved[8];
        struct local_adapter_info* next;
    };

    typedef struct local_adapter_info* (*GetLocalAdapterInfoFunction)(void);
    typedef void (*ClearLocalAdapterInfoFunction)(void);

    struct local_adapter_info* GetLocalAdapterInfo(void);
    void ClearLocalAdapterInfo(void);

#ifdef __cplusplus
}
#endif

#endif
