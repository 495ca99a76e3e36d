// Run-time binding of the MITAB C interface: the library is loaded from the
// program folder by file name, its version is checked and its entry points
// are looked up by name.
#pragma once

#include "SysUtils.h"

using mitab_handle = void*;
using mitab_feature = void*;
using mitab_projinfo = void*;

// Every entry point: X(result, name, parameters, bytes of arguments that the
// decorated 32-bit name carries), in binding order.
#define GK_MITAB_ENTRY_POINTS(X)                                                                   \
  X(const char*, mitab_c_getlasterrormsg, (), 0)                                                   \
  X(int, mitab_c_getlasterrorno, (), 0)                                                            \
  X(void, mitab_c_close, (mitab_handle handle), 4)                                                 \
  X(void, mitab_c_destroy_feature, (mitab_feature feature), 4)                                     \
  X(int, mitab_c_get_brush_bgcolor, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_brush_fgcolor, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_brush_pattern, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_brush_transparent, (mitab_feature feature), 4)                                \
  X(const char*, mitab_c_get_extended_mif_coordsys, (mitab_handle dataset), 4)                     \
  X(int, mitab_c_get_feature_count, (mitab_handle handle), 4)                                      \
  X(int, mitab_c_get_field_count, (mitab_handle handle), 4)                                        \
  X(const char*, mitab_c_get_font, (mitab_feature feature), 4)                                     \
  X(const char*, mitab_c_get_mif_coordsys, (mitab_handle dataset), 4)                              \
  X(int, mitab_c_get_parts, (mitab_feature feature), 4)                                            \
  X(int, mitab_c_get_pen_color, (mitab_feature feature), 4)                                        \
  X(int, mitab_c_get_pen_pattern, (mitab_feature feature), 4)                                      \
  X(int, mitab_c_get_pen_width, (mitab_feature feature), 4)                                        \
  X(mitab_projinfo, mitab_c_get_projinfo, (mitab_handle dataset), 4)                               \
  X(int, mitab_c_get_symbol_color, (mitab_feature feature), 4)                                     \
  X(int, mitab_c_get_symbol_no, (mitab_feature feature), 4)                                        \
  X(int, mitab_c_get_symbol_size, (mitab_feature feature), 4)                                      \
  X(const char*, mitab_c_get_text, (mitab_feature feature), 4)                                     \
  X(double, mitab_c_get_text_angle, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_text_bgcolor, (mitab_feature feature), 4)                                     \
  X(int, mitab_c_get_text_fgcolor, (mitab_feature feature), 4)                                     \
  X(double, mitab_c_get_text_height, (mitab_feature feature), 4)                                   \
  X(int, mitab_c_get_text_justification, (mitab_feature feature), 4)                               \
  X(int, mitab_c_get_text_linetype, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_text_spacing, (mitab_feature feature), 4)                                     \
  X(double, mitab_c_get_text_width, (mitab_feature feature), 4)                                    \
  X(int, mitab_c_get_type, (mitab_feature feature), 4)                                             \
  X(int, mitab_c_load_coordsys_table, (const char* filename), 4)                                   \
  X(mitab_handle, mitab_c_open, (const char* filename), 4)                                         \
  X(mitab_feature, mitab_c_get_collection_region_ref, (mitab_feature feature), 4)                  \
  X(mitab_feature, mitab_c_get_collection_polyline_ref, (mitab_feature feature), 4)                \
  X(mitab_feature, mitab_c_get_collection_multipoint_ref, (mitab_feature feature), 4)              \
  X(int, mitab_c_set_quick_spatial_index_mode, (mitab_handle handle), 4)                           \
  X(mitab_feature, mitab_c_create_feature, (mitab_handle handle, int feature_type), 8)             \
  X(int, mitab_c_getlasterrormsg_vb, (char* errormsg, int l), 8)                                   \
  X(double, mitab_c_get_field_as_double, (mitab_feature feature, int field), 8)                    \
  X(const char*, mitab_c_get_field_as_string, (mitab_feature feature, int field), 8)               \
  X(const char*, mitab_c_get_field_name, (mitab_handle handle, int field), 8)                      \
  X(int, mitab_c_get_field_precision, (mitab_handle handle, int field), 8)                         \
  X(int, mitab_c_get_field_type, (mitab_handle handle, int field), 8)                              \
  X(int, mitab_c_get_field_width, (mitab_handle handle, int field), 8)                             \
  X(int, mitab_c_get_vertex_count, (mitab_feature feature, int part), 8)                           \
  X(int, mitab_c_is_interior_ring, (mitab_feature feature, int ring), 8)                           \
  X(int, mitab_c_next_feature_id, (mitab_handle handle, int last_feature_id), 8)                   \
  X(mitab_feature, mitab_c_read_feature, (mitab_handle handle, int feature_id), 8)                 \
  X(void, mitab_c_set_font, (mitab_feature feature, const char* font_name), 8)                     \
  X(int, mitab_c_set_projinfo, (mitab_handle dataset, mitab_projinfo projinfo), 8)                 \
  X(void, mitab_c_set_text, (mitab_feature feature, const char* text), 8)                          \
  X(int, mitab_c_write_feature, (mitab_handle handle, mitab_feature feature), 8)                   \
  X(int, mitab_c_is_field_indexed, (mitab_handle handle, int field), 8)                            \
  X(int, mitab_c_is_field_unique, (mitab_handle handle, int field), 8)                             \
  X(int, mitab_c_get_font_vb, (mitab_feature feature, char* font, int l), 12)                      \
  X(int, mitab_c_get_mif_coordsys_vb, (mitab_handle dataset, char* coordsys, int l), 12)           \
  X(int, mitab_c_get_text_vb, (mitab_feature feature, char* text, int l), 12)                      \
  X(double, mitab_c_get_vertex_x, (mitab_feature feature, int part, int vertex), 12)               \
  X(double, mitab_c_get_vertex_y, (mitab_feature feature, int part, int vertex), 12)               \
  X(void, mitab_c_set_field, (mitab_feature feature, int field, const char* value), 12)            \
  X(int, mitab_c_set_collection_region, (mitab_feature feature, mitab_feature part, int copy), 12) \
  X(int, mitab_c_set_collection_polyline, (mitab_feature feature, mitab_feature part, int copy),   \
    12)                                                                                            \
  X(int, mitab_c_set_collection_multipoint, (mitab_feature feature, mitab_feature part, int copy), \
    12)                                                                                            \
  X(int, mitab_c_get_affine_params, (mitab_projinfo projinfo, int* units, double* params), 12)     \
  X(int, mitab_c_set_affine_params, (mitab_projinfo projinfo, int units, double* params), 12)      \
  X(int, mitab_c_get_field_as_string_vb, (mitab_feature feature, int field, char* value, int l),   \
    16)                                                                                            \
  X(int, mitab_c_get_field_name_vb, (mitab_handle handle, int field, char* name, int l), 16)       \
  X(void, mitab_c_set_pen, (mitab_feature feature, int width, int pattern, int color), 16)         \
  X(void, mitab_c_set_symbol, (mitab_feature feature, int no, int size, int color), 16)            \
  X(void, mitab_c_set_brush,                                                                       \
    (mitab_feature feature, int fg_color, int bg_color, int pattern, int transparent), 20)         \
  X(void, mitab_c_set_points,                                                                      \
    (mitab_feature feature, int part, int vertex_count, double* x, double* y), 20)                 \
  X(int, mitab_c_get_projection_info,                                                              \
    (mitab_projinfo projinfo, int* proj_id, int* ellipsoid_id, int* units_id, double* params), 20) \
  X(int, mitab_c_set_projection_info,                                                              \
    (mitab_projinfo projinfo, int proj_id, int ellipsoid_id, int units_id, double* params), 20)    \
  X(int, mitab_c_get_datum_info,                                                                   \
    (mitab_projinfo projinfo, double* shift_x, double* shift_y, double* shift_z, double* params),  \
    20)                                                                                            \
  X(int, mitab_c_add_field,                                                                        \
    (mitab_handle handle, const char* name, int type, int width, int precision, int indexed,       \
     int unique),                                                                                  \
    28)                                                                                            \
  X(int, mitab_c_set_datum_info,                                                                   \
    (mitab_projinfo projinfo, double shift_x, double shift_y, double shift_z, double* params), 32) \
  X(mitab_handle, mitab_c_create,                                                                  \
    (const char* filename, const char* mif_or_tab, const char* mif_projection, double north,       \
     double south, double east, double west),                                                      \
    44)                                                                                            \
  X(void, mitab_c_set_text_display,                                                                \
    (mitab_feature feature, double angle, double height, double width, int fg_color, int bg_color, \
     int justification, int spacing, int linetype),                                                \
    48)                                                                                            \
  X(void, mitab_c_set_arc,                                                                         \
    (mitab_feature feature, double center_x, double center_y, double x_radius, double y_radius,    \
     double start_angle, double end_angle),                                                        \
    52)

// The library's file name; the program looks for it in its own folder.
inline constexpr const wchar_t* gkMitabDynLibName = L"MitabFromGDAL_VS_11_x86.dll";

// Binding states kept in MITAB_LoadErr.
inline constexpr Integer MITAB_NotLoaded = -1;
inline constexpr Integer MITAB_Bound = 0;
inline constexpr Integer MITAB_NoVersionEntry = -3;
inline constexpr Integer MITAB_VersionRefused = -4;

// Full path of the library; the program folder and the file name at start-up.
const String& gkMitabDynLibPathMiTab();
void SetgkMitabDynLibPathMiTab(const String& APath);
// 0 while the library is not loaded.
extern HMODULE MITABDLL_Handle;
extern Integer MITAB_LoadErr;
// The version the loaded library reported (0 before it was asked).
extern Integer MITAB_LibVersion;

extern int(WINAPI* mitab_c_getlibversion)();
#define GK_MITAB_DECLARE(Result_, Name_, Params_, Bytes_) extern Result_(WINAPI* Name_) Params_;
GK_MITAB_ENTRY_POINTS(GK_MITAB_DECLARE)
#undef GK_MITAB_DECLARE

// Loads and binds the library once per process. A library that cannot be
// loaded raises Exception with the platform's reason (and a later call tries
// again); a refused library is reported through MITAB_LoadErr only.
void gkMitabDynMITAB_load();

// The entry point AName under its decorated 32-bit name ("_name@bytes")
// or, failing that, under its plain name; nullptr when neither exists.
FARPROC GenericGetProcAddress(const AnsiString& AName, Integer ABytes);

// Raises Exception naming the library and the reason when it is not loaded
// and bound (MITAB_LoadErr other than 0).
void gkMitabDynCheckBound();

void gkMitabDyn_Initialize();
// Unloads the library and clears every bound entry point.
void gkMitabDyn_Finalize();
