#include "ui/unused/ViewController.h"

ViewController::ViewController(QWidget* parent)
    : QWidget(parent) {}
