// The hardware access library's entry points, as libhmio.so exports them.
//
// The monitor loads the library at run time by its plain name and resolves
// these fourteen symbols; nothing else of the library is used. Units: voltages
// in millivolts, temperatures in whole degrees Celsius, fan speeds in rpm.
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

#ifdef __cplusplus
}
#endif
