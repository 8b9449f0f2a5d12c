// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchResizeController.h"

#include "ui_BatchResize.h"

#include "UserDefaults.h"
#include "batch/BatchOptions.h"
#include "settings/SettingsKeys.h"

BatchResizeController::BatchResizeController(UserDefaults& settings, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::BatchResize>())
    , m_settings(settings) {
    m_ui->setupUi(this);
    m_ui->resizeOptions->setId(m_ui->resizeNone, rowNone);
    m_ui->resizeOptions->setId(m_ui->resizeToPixels, rowPixels);
    m_ui->resizeOptions->setId(m_ui->resizeByPercent, rowPercentage);
    connect(m_ui->resizeOptions, &QButtonGroup::idClicked, this,
            &BatchResizeController::resizeChanged);
    loadView();
}

BatchResizeController::~BatchResizeController() = default;

void BatchResizeController::loadView() {
    using namespace SettingsKeys;
    m_ui->resizePixels->setValue(int(m_settings.integerForKey(QLatin1String(batch_resize_pixels))));
    m_ui->resizePercentage->setValue(
        double(m_settings.integerForKey(QLatin1String(batch_resize_pct))));
    resizeChanged();
}

QButtonGroup* BatchResizeController::resizeOptions() const {
    return m_ui->resizeOptions;
}

QSpinBox* BatchResizeController::resizePixels() const {
    return m_ui->resizePixels;
}

QDoubleSpinBox* BatchResizeController::resizePercentage() const {
    return m_ui->resizePercentage;
}

int BatchResizeController::resizeRow() const {
    return m_ui->resizeOptions->checkedId();
}

void BatchResizeController::setResizeRow(int row) {
    if (QAbstractButton* button = m_ui->resizeOptions->button(row)) {
        button->setChecked(true);
        resizeChanged();
    }
}

void BatchResizeController::resizeChanged() {
    const int row = resizeRow();
    m_ui->resizePixels->setEnabled(row == rowPixels);
    m_ui->resizePercentage->setEnabled(row == rowPercentage);
    QAbstractSpinBox* field = row == rowPixels ? static_cast<QAbstractSpinBox*>(m_ui->resizePixels)
                              : row == rowPercentage ? m_ui->resizePercentage
                                                     : nullptr;
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void BatchResizeController::save() {
    using namespace SettingsKeys;
    const int row = resizeRow();
    if (row == rowPixels)
        m_settings.setInteger(m_ui->resizePixels->value(), QLatin1String(batch_resize_pixels));
    else if (row == rowPercentage)
        m_settings.setInteger(qint64(m_ui->resizePercentage->value()),
                              QLatin1String(batch_resize_pct));
}

void BatchResizeController::applyTo(BatchOptions& options) const {
    const int row = resizeRow();
    options.resize = row == rowPixels       ? BatchOptions::Resize::ToPixels
                     : row == rowPercentage ? BatchOptions::Resize::ByPercent
                                            : BatchOptions::Resize::None;
    options.resizePixels = m_ui->resizePixels->value();
    options.resizePercent = m_ui->resizePercentage->value();
}
