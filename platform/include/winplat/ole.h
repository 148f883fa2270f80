/* OLE streams: the IStream interface in its COM slot order, and a stream over a global memory
 * block. Only what the image codecs use works: Read, Write, Seek, SetSize and Stat; Commit
 * succeeds as there is nothing to commit in memory; the rest answer E_NOTIMPL. C++ only. */
#ifndef WINPLAT_OLE_H
#define WINPLAT_OLE_H

#include <cstdint>

#include "winplat/types.h"

typedef LONG HRESULT;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define STG_E_INVALIDFUNCTION ((HRESULT)0x80030001L)
#define STG_E_INVALIDPOINTER ((HRESULT)0x80030009L)
#define STG_E_MEDIUMFULL ((HRESULT)0x80030070L)
#define STG_E_ACCESSDENIED ((HRESULT)0x80030005L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2

#define STATFLAG_DEFAULT 0
#define STATFLAG_NONAME 1
#define STGTY_STREAM 2

typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    int64_t QuadPart;
} LARGE_INTEGER;

typedef union _ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    uint64_t QuadPart;
} ULARGE_INTEGER;

typedef struct tagSTATSTG {
    char* pwcsName; /* never filled: STATFLAG_NONAME is all the codecs ask for */
    DWORD type;
    ULARGE_INTEGER cbSize;
    DWORD grfMode;
    DWORD grfLocksSupported;
    DWORD reserved;
} STATSTG;

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID, IID;

/* The slots of an OLE stream in their order. */
struct WINPLAT_API IStream {
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
    virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
    virtual HRESULT Clone(IStream** clone) = 0;

protected:
    virtual ~IStream() = default;
};

/* A stream over a global memory block (a new one when block is NULL); the block grows as the
 * stream is written and is freed with the stream when deleteOnRelease is set. */
WINPLAT_API HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream);
/* The block behind such a stream. */
WINPLAT_API HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* block);

#endif
