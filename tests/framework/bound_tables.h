// Two small tables in a master-detail link, for the data-bound control tests: vehicles ordered by
// make, and the services of the current vehicle.
#pragma once

#include "store/blob_field.h"
#include "store/client_table.h"
#include "store/data_source.h"
#include "store/format_settings.h"
#include "store/integer_field.h"
#include "store/string_field.h"

#include <string>

namespace wf::test {

struct BoundTables {
  TClientTable vehicles{"tblVehicle"};
  TAutoIncField& vehicleNumber = vehicles.addField<TAutoIncField>("VehicleNumber");
  TStringField& make = vehicles.addField<TStringField>("VehicleMake", 25);
  TStringField& reg = vehicles.addField<TStringField>("VehicleReg", 15);
  TIntegerField& odometer = vehicles.addField<TIntegerField>("Odometer");
  TDataSource datVehicle{"datVehicle"};

  TClientTable services{"tblService"};
  TAutoIncField& serviceNumber = services.addField<TAutoIncField>("ServiceNumber");
  TIntegerField& serviceVehicle = services.addField<TIntegerField>("VehicleNumber");
  TStringField& description = services.addField<TStringField>("ServiceDescription", 50);
  TMemoField& note = services.addField<TMemoField>("ServiceNote");
  TDataSource datService{"datService"};

  BoundTables() {
    formatSettings() = FormatSettings();
    vehicles.FieldDefs() = {{"VehicleNumber", ftAutoInc, 0, faReadonly},
                            {"VehicleMake", ftString, 25, 0},
                            {"VehicleReg", ftString, 15, 0},
                            {"Odometer", ftInteger, 0, 0}};
    vehicles.setIndexFieldNames("VehicleMake");
    datVehicle.setDataSet(&vehicles);
    vehicles.createDataSet();

    services.FieldDefs() = {{"ServiceNumber", ftAutoInc, 0, faReadonly},
                            {"VehicleNumber", ftInteger, 0, 0},
                            {"ServiceDescription", ftString, 50, 0},
                            {"ServiceNote", ftMemo, 0, 0}};
    services.setIndexFieldNames("VehicleNumber;ServiceNumber");
    services.setMasterSource(&datVehicle);
    services.setMasterFields("VehicleNumber");
    datService.setDataSet(&services);
    services.createDataSet();
  }

  void addVehicle(const std::string& vehicleMake, const std::string& registration) {
    vehicles.insert();
    make.setAsString(vehicleMake);
    reg.setAsString(registration);
    vehicles.post();
  }

  void addService(const std::string& text) {
    services.insert();
    description.setAsString(text);
    services.post();
  }

  // Three vehicles (listed Audi, Ford, Volvo); Ford has two services, Volvo one.
  void fill() {
    addVehicle("Volvo", "V-1");
    addService("Brakes");
    addVehicle("Ford", "F-1");
    addService("Oil");
    addService("Tyres");
    addVehicle("Audi", "A-1");
  }

  // Makes the vehicle with this make current.
  void goToVehicle(const std::string& vehicleMake) {
    for (vehicles.first(); !vehicles.eof(); vehicles.next())
      if (make.AsString() == vehicleMake) return;
  }
};

}  // namespace wf::test
