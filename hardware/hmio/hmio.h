// The hardware access library's entry points, as libhmio.so exports them.
//
// The monitor loads the library at run time by its plain name and resolves
// these fourteen symbols, and the three optional ones at the end (a library
// without them is still used: no placement report, no notices, an empty
// status). Units: voltages in millivolts, temperatures in whole degrees
// Celsius, fan speeds in rpm.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define HMIO_RAW_VALUE_COUNT 30
#define HMIO_CHIP_PARAM_COUNT 8
#define HMIO_DMI_ENTRY_POINT_SIZE 20

// Chipset (host bridge) PCI vendor id; 0 when unknown.
uint32_t GetVid(void);
// Non-zero when the hardware-monitor chip answers.
uint8_t DetectLM78(void);
// Fills the temperature bytes of the 8-byte block; byte 0 carries the caller's
// command on entry. Bytes the chip does not report are left untouched.
// Non-zero when the temperature source answers.
uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector);
void EnableSMSCHWMonitor(void);
void ApEnableATIISA(void);
// Rewrites every slot of the 30-value block that the chip reports. Entry 7
// carries the caller's command on entry.
void ValueRAM(int32_t* rawValues);
// Non-zero when the library's access to the hardware is set up; the caller
// then owes one UnloadNTHMIO.
uint32_t LoadNTHMIO(void);
void UnloadNTHMIO(void);
// Fills the 20-byte entry point; returns the structure table's length in bytes,
// 0 when there are no DMI data.
uint32_t GetDMILength(uint8_t* entryPoint);
// Copies the structure table into a buffer of the length that the last
// GetDMILength returned (nothing when it returned 0).
void GetDMIData(uint8_t* buffer);
// The low byte of the result is the port's value.
uint32_t ReadPort(uint16_t port);
void WritePort(uint16_t port, uint8_t value);
void ChassisClear(void);
// Non-zero while the chassis intrusion latch is set.
uint8_t ChassisIntrusion(void);

// Optional entry points.

// What the last reads found, beyond the values themselves. The caller sets
// Size to sizeof(HmioStatus); the library fills what fits in that size and
// zeroes the rest, so either side may be older than the other.
typedef struct HmioStatus {
    uint32_t Size;
    // Changes whenever the placement changes (chips found, lost or found again).
    uint32_t Generation;
    // RawValues slots (bit N: slot N) and ChipParams bytes whose value is read
    // through guessed wiring and did not look like the rail it stands for:
    // show it, but do not check it against limits.
    uint32_t UncheckedSlots;
    uint32_t UncheckedParams;
    // Slots and bytes that have a source but got no reading on the last read
    // (the chip is gone, the input reads an error): no reading, not a value.
    uint32_t LostSlots;
    uint32_t LostParams;
    // The CPU temperature sensor's own critical limit in whole degrees Celsius
    // as the kernel gives it (temp*_crit); 0 when it gives none.
    int32_t CpuTempCrit;
} HmioStatus;
void HmioGetStatus(HmioStatus* status);

// The placement report (every chip and input, its label and value, the value
// it feeds and by which rule, what is left unread), as text. Writes at most
// size bytes including a terminating zero; returns the whole report's length
// without the zero (call again with a larger buffer when it did not fit).
uint32_t HmioSensorReport(char* buffer, uint32_t size);

// Takes the oldest message for the user that the library has not handed out
// yet (one line, no newline), written like HmioSensorReport; returns 0 when
// there is none. A message that did not fit is not taken.
uint32_t HmioNextNotice(char* buffer, uint32_t size);

#ifdef __cplusplus
}
#endif
