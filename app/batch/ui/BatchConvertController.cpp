// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchConvertController.h"

#include "ui_BatchConvert.h"

#include "UserDefaults.h"
#include "batch/BatchOptions.h"
#include "settings/SettingsKeys.h"

BatchConvertController::BatchConvertController(UserDefaults& settings, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::BatchConvert>())
    , m_settings(settings) {
    m_ui->setupUi(this);
    loadView();
}

BatchConvertController::~BatchConvertController() = default;

void BatchConvertController::loadView() {
    m_ui->imageFormat->setCurrentIndex(itemSame);
    m_ui->exifCopy->setChecked(
        m_settings.boolForKey(QLatin1String(SettingsKeys::batch_convert_copy_exif)));
}

QComboBox* BatchConvertController::imageFormat() const {
    return m_ui->imageFormat;
}

QCheckBox* BatchConvertController::exifCopy() const {
    return m_ui->exifCopy;
}

void BatchConvertController::save() {
    m_settings.setBool(m_ui->exifCopy->isChecked(),
                       QLatin1String(SettingsKeys::batch_convert_copy_exif));
}

void BatchConvertController::applyTo(BatchOptions& options) const {
    switch (m_ui->imageFormat->currentIndex()) {
    case itemJpeg:
        options.format = BatchOptions::Format::Jpeg;
        break;
    case itemPng:
        options.format = BatchOptions::Format::Png;
        break;
    default:
        options.format = BatchOptions::Format::Same;
        break;
    }
    options.copyExif = m_ui->exifCopy->isChecked();
}
