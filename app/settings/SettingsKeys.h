// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Names of the per-user settings; their types and defaults are registered
// by SettingsDefaults.
namespace SettingsKeys {

inline constexpr char jpeg_compression[] = "jpeg_compression";
inline constexpr char browser_folder[] = "browser_folder";
inline constexpr char browser_favorites[] = "browser_favorites";
inline constexpr char browser_zoom[] = "browser_zoom";
inline constexpr char browser_sort_order[] = "browser_sort_order";
inline constexpr char browser_show_folders[] = "browser_show_folders";
inline constexpr char browser_show_images[] = "browser_show_images";
inline constexpr char browser_show_movies[] = "browser_show_movies";
inline constexpr char transfer_mode[] = "transfer_mode";
inline constexpr char transfer_destination[] = "transfer_destination";
inline constexpr char transfer_rotate[] = "transfer_rotate";
inline constexpr char transfer_browse[] = "transfer_browse";
inline constexpr char transfer_overwrite_mode[] = "transfer_overwrite_mode";
inline constexpr char transfer_overwrite_default[] = "transfer_overwrite_default";
inline constexpr char transfer_desc_history[] = "transfer_desc_history";
inline constexpr char transfer_verify[] = "transfer_verify";
inline constexpr char viewer_background[] = "viewer_background";
inline constexpr char viewer_info_level[] = "viewer_info_level";
inline constexpr char viewer_transition[] = "viewer_transition";
inline constexpr char slideshow_delay[] = "slideshow_delay";
inline constexpr char slideshow_transition[] = "slideshow_transition";
inline constexpr char batch_resize_pixels[] = "batch_resize_pixels";
inline constexpr char batch_resize_pct[] = "batch_resize_pct";
inline constexpr char batch_convert_copy_exif[] = "batch_convert_copy_exif";
inline constexpr char batch_rename_files[] = "batch_rename_files";
inline constexpr char batch_rename_suffix[] = "batch_rename_suffix";
inline constexpr char batch_delete_originals[] = "batch_delete_originals";
// Never registered: only its presence is tested.
inline constexpr char first_run[] = "first_run";

} // namespace SettingsKeys
